/*
 * gradient_lanes_avx2_fma.cpp - the gradient lane kernel
 * (gradient_lane_kernel.h) on 256-bit registers, dividing by the
 * recursion's constants with fused multiply-add (lane_divide.h: the same
 * doubles as the divider).  Built for AVX2 with FMA; it runs only at the
 * level AVX2_FMA, and its symbols carry "avx2_fma" or "Avx2Fma".
 */
#include "many/gradient_lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx2.h"

namespace geoharm {

namespace gradient_lanes_avx2_fma {

namespace {

/* lane_type_avx2.h's type under this file's name. */
struct Lanes : lanes_avx2::Lanes {};

}  // namespace

}  // namespace gradient_lanes_avx2_fma

void evaluateGradientLanesAvx2Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                                  double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientLanes<gradient_lanes_avx2_fma::Lanes>(count, x, y, z, N, M, T, ax, ay, az, U);
}

}  // namespace geoharm
