/*
 * gradient_lanes_avx512.cpp - the gradient lane kernel (gradient_lane_kernel.h)
 * on 512-bit registers: eight points per instruction, dividing with the
 * divider.  Built for AVX-512F, like lanes_avx512.cpp; it runs at the level
 * AVX512F (gradient_lanes_avx512_fma.cpp at AVX512F_FMA), and its symbols
 * carry "avx512" or "Avx512".
 */
#include "many/gradient_lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx512.h"

namespace geoharm {

void evaluateGradientLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<lanes_avx512::Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace geoharm
