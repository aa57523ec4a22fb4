/*
 * lane_type_sse2.h - the lane type of the routines built for SSE2
 * (lane_kernel.h says what a lane type provides), for the files compiled
 * with that instruction set alone: lanes_sse2.cpp and
 * gradient_lanes_sse2.cpp.
 * It lives in an unnamed namespace, so every file that includes it has its
 * own copy, and no code of it built for one instruction set can be picked
 * by the linker for another.
 */
#ifndef GEOHARM_LANE_TYPE_SSE2_H
#define GEOHARM_LANE_TYPE_SSE2_H

#include <emmintrin.h>

namespace geoharm {

namespace lanes_sse2 {

namespace {

/* Two doubles per register; +, -, *, / on __m128d are addpd, subpd, mulpd,
   divpd. */
struct Lanes {
    using V = __m128d;
    static constexpr int WIDTH = 2;
    static V set1(double v) { return _mm_set1_pd(v); }
    static V load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, V v) { _mm_storeu_pd(p, v); }
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
};

}  // namespace

}  // namespace lanes_sse2

}  // namespace geoharm

#endif
