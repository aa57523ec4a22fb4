/*
 * lane_type_avx2.h - the lane type of the routines built for AVX2
 * (lane_kernel.h says what a lane type provides), for the files compiled
 * with that instruction set: lanes_avx2.cpp and gradient_lanes_avx2.cpp
 * (without FMA), and lanes_avx2_fma.cpp (with FMA, under a name of its
 * own).
 * It lives in an unnamed namespace, so every file that includes it has its
 * own copy, and no code of it built for one instruction set can be picked
 * by the linker for another.
 */
#ifndef GEOHARM_LANE_TYPE_AVX2_H
#define GEOHARM_LANE_TYPE_AVX2_H

#include <immintrin.h>

namespace geoharm {

namespace lanes_avx2 {

namespace {

/* Four doubles per register; +, -, *, / on __m256d are vaddpd, vsubpd,
   vmulpd, vdivpd. */
struct Lanes {
    using V = __m256d;
    static constexpr int WIDTH = 4;
    static V set1(double v) { return _mm256_set1_pd(v); }
    static V load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, V v) { _mm256_storeu_pd(p, v); }
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
};

}  // namespace

}  // namespace lanes_avx2

}  // namespace geoharm

#endif
