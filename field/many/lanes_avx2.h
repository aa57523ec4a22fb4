/*
 * lanes_avx2.h - the lane type of the 256-bit lane routines (lanes_avx2.cpp,
 * built without FMA, and lanes_avx2_fma.cpp, built with it): four doubles
 * per register; +, -, *, / on __m256d are vaddpd, vsubpd, vmulpd, vdivpd.
 * Included only by files built for AVX2.  Each file derives its own type
 * from it, named in its own namespace, so that the kernel's code built in
 * one file carries that file's name (the instruction checks tell the
 * routines apart by name) and has internal linkage there.
 */
#ifndef GEOHARM_LANES_AVX2_H
#define GEOHARM_LANES_AVX2_H

#include <immintrin.h>

namespace geoharm {

namespace {

struct Avx2Lanes {
    using V = __m256d;
    static constexpr int WIDTH = 4;
    static V set1(double v) { return _mm256_set1_pd(v); }
    static V load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, V v) { _mm256_storeu_pd(p, v); }
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
};

}  // namespace

}  // namespace geoharm

#endif
