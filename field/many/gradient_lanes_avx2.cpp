/*
 * gradient_lanes_avx2.cpp - the gradient lane kernel (gradient_lane_kernel.h)
 * on 256-bit registers: four points per instruction.  Built for AVX2
 * without FMA, like lanes_avx2.cpp; it runs only where cpuHasAvx2() says so,
 * and its symbols carry "avx2" or "Avx2".
 */
#include "many/gradient_lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx2.h"

namespace geoharm {

void evaluateGradientLanesAvx2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<lanes_avx2::Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace geoharm
