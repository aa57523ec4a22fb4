/*
 * gradient_lanes_sse2.cpp - the gradient lane kernel (gradient_lane_kernel.h)
 * on SSE2 registers: two points per instruction.  Built with the project's
 * options alone, so it runs on every processor of the three builds.
 */
#include "many/gradient_lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_sse2.h"

namespace geoharm {

void evaluateGradientLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<lanes_sse2::Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace geoharm
