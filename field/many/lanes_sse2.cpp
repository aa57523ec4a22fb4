/*
 * lanes_sse2.cpp - the lane kernel (lane_kernel.h) on SSE2 registers: two
 * points per instruction.  Built with the project's options alone, so it
 * runs on every processor of the three builds.
 */
#include <emmintrin.h>

#include "many/lane_kernel.h"
#include "many/lane_routines.h"

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

void evaluateLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az) {
    evaluateLanes<lanes_sse2::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
