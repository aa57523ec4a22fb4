/*
 * gradient_lanes.cpp - the many-point gradient of a level: the gradient
 * lane kernel (gradient_lane_kernel.h) on the level's lane type
 * (kernels/level_lanes.h), built once per level
 * (machine/level_functions.h).
 */
#include "kernels/level_lanes.h"
#include "machine/level_functions.h"
#include "many/gradient_lane_kernel.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

void gradientLanes(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* T,
                   double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
