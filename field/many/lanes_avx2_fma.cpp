/*
 * lanes_avx2_fma.cpp - the lane kernel (lane_kernel.h) on 256-bit registers,
 * four points per instruction, dividing by the recursion's constants with
 * fused multiply-add (exactQuotient, lane_divide.h: the same doubles as
 * the divider).  This file alone is built for AVX2 with FMA; it runs only
 * at the level AVX2_FMA or above (cpuHasAvx2() and cpuHasFma()).  Its
 * symbols carry "avx2_fma" or "Avx2Fma", so that a look at the
 * instructions can tell its code from the rest: AVX allowed, and FMA in
 * the exact division's sequence alone.  Processors with AVX2 but no FMA
 * run lanes_avx2.cpp.
 */
#include "many/lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx2.h"

namespace geoharm {

namespace lanes_avx2_fma {

namespace {

/* lane_type_avx2.h's type under this file's name (the code built here
   carries "avx2_fma" in its symbols). */
struct Lanes : lanes_avx2::Lanes {};

}  // namespace

}  // namespace lanes_avx2_fma

void evaluateLanesAvx2Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                          double* ax, double* ay, double* az) {
    evaluateLanes<lanes_avx2_fma::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
