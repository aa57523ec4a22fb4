/*
 * gradient_lanes_avx512_fma.cpp - the gradient lane kernel
 * (gradient_lane_kernel.h) on 512-bit registers, dividing by the
 * recursion's constants with fused multiply-add (lane_divide.h: the same
 * doubles as the divider).  Built for AVX-512F with FMA; it runs only at
 * the level AVX512F_FMA, and its symbols carry "avx512_fma" or
 * "Avx512Fma".
 */
#include "many/gradient_lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx512.h"

namespace geoharm {

namespace gradient_lanes_avx512_fma {

namespace {

/* lane_type_avx512.h's type under this file's name. */
struct Lanes : lanes_avx512::Lanes {};

}  // namespace

}  // namespace gradient_lanes_avx512_fma

void evaluateGradientLanesAvx512Fma(std::size_t count, const double* x, const double* y, const double* z, int N,
                                    int M, double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<gradient_lanes_avx512_fma::Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace geoharm
