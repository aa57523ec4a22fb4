/*
 * lanes.cpp - the many-point acceleration of a level: the lane kernel
 * (lane_kernel.h) on the level's lane type (kernels/level_lanes.h), built
 * once per level (machine/level_functions.h).
 */
#include "kernels/level_lanes.h"
#include "machine/level_functions.h"
#include "many/lane_kernel.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

void accelerationLanes(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* ax,
                       double* ay, double* az) {
    evaluateLanes<Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
