/*
 * lane_type_avx512.h - the lane type of the routines built for AVX-512F
 * (lane_kernel.h says what a lane type provides), for the files compiled
 * with that instruction set and FMA: lanes_avx512.cpp and
 * gradient_lanes_avx512.cpp.
 * It lives in an unnamed namespace, so every file that includes it has its
 * own copy, and no code of it built for one instruction set can be picked
 * by the linker for another.
 */
#ifndef GEOHARM_LANE_TYPE_AVX512_H
#define GEOHARM_LANE_TYPE_AVX512_H

#include <immintrin.h>

namespace geoharm {

namespace lanes_avx512 {

namespace {

/* Eight doubles per register; +, -, *, / on __m512d are vaddpd, vsubpd,
   vmulpd, vdivpd on zmm registers. */
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

}  // namespace geoharm

#endif
