/*
 * lanes_avx512.cpp - the lane kernel (lane_kernel.h) on 512-bit registers:
 * eight points per instruction, dividing by the recursion's constants with
 * fused multiply-add (exactQuotient, lane_divide.h: the same doubles as
 * the divider).  This file alone is built for AVX-512F with FMA (and none
 * of the other AVX-512 extensions); it runs only at the level AVX512F
 * (cpuHasAvx512f() and cpuHasFma()).  Its symbols carry "avx512" or
 * "Avx512", so that a look at the instructions can tell its code from the
 * rest: AVX-512 allowed, and FMA in the exact division's sequence alone.
 */
#include <immintrin.h>

#include "many/lane_kernel.h"
#include "many/lane_routines.h"

namespace geoharm {

namespace lanes_avx512 {

namespace {

/* Eight doubles per register; +, -, *, / on __m512d are vaddpd, vsubpd,
   vmulpd, vdivpd on zmm registers (the division only where exactQuotient
   sends a register back to the divider). */
struct Lanes {
    using V = __m512d;
    static constexpr int WIDTH = 8;
    static V set1(double v) { return _mm512_set1_pd(v); }
    static V load(const double* p) { return _mm512_loadu_pd(p); }
    static void store(double* p, V v) { _mm512_storeu_pd(p, v); }
    /* Every lane kept (mask all ones): vsqrtpd itself.  (GCC 12 warns of the
       undefined pass-through operand of _mm512_sqrt_pd.) */
    static V sqrt(V v) { return _mm512_maskz_sqrt_pd(static_cast<__mmask8>(0xFF), v); }
};

}  // namespace

}  // namespace lanes_avx512

void evaluateLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                         double* ax, double* ay, double* az) {
    evaluateLanes<lanes_avx512::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
