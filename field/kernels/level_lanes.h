/*
 * level_lanes.h - Lanes, the lane type of the many-point routines of the
 * level a source is built for (machine/level_functions.h): one point per
 * lane of the widest register of the level's instruction set.
 *
 *   sse2                  __m128d, two points
 *   avx2, avx2_fma        __m256d, four points
 *   avx512f, avx512f_fma  __m512d, eight points
 *
 * Lanes provides V, WIDTH, set1, load and store (unaligned) and sqrt
 * (correctly rounded).  V is GCC's own vector of doubles of the register's
 * width (+, -, *, / the lane-wise IEEE operations): the intrinsics' type
 * as it is, but one a template may take as an argument (the intrinsics'
 * types carry attributes a template argument drops).  Defined in the
 * level's namespace, so each level has its own.
 */
#ifndef GEOHARM_LEVEL_LANES_H
#define GEOHARM_LEVEL_LANES_H

#include <immintrin.h>

#include "machine/level_functions.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

#if defined(__AVX512F__)
typedef double LaneVector __attribute__((vector_size(64)));
struct Lanes {
    using V = LaneVector;
    static constexpr int WIDTH = 8;
    static V set1(double v) { return _mm512_set1_pd(v); }
    static V load(const double* p) { return _mm512_loadu_pd(p); }
    static void store(double* p, V v) { _mm512_storeu_pd(p, v); }
    /* Every lane kept (mask all ones): vsqrtpd itself.  (GCC 12 warns of
       the undefined pass-through operand of _mm512_sqrt_pd.) */
    static V sqrt(V v) { return _mm512_maskz_sqrt_pd(static_cast<__mmask8>(0xFF), v); }
};
#elif defined(__AVX2__)
typedef double LaneVector __attribute__((vector_size(32)));
struct Lanes {
    using V = LaneVector;
    static constexpr int WIDTH = 4;
    static V set1(double v) { return _mm256_set1_pd(v); }
    static V load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, V v) { _mm256_storeu_pd(p, v); }
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
};
#else
typedef double LaneVector __attribute__((vector_size(16)));
struct Lanes {
    using V = LaneVector;
    static constexpr int WIDTH = 2;
    static V set1(double v) { return _mm_set1_pd(v); }
    static V load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, V v) { _mm_storeu_pd(p, v); }
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
};
#endif

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
