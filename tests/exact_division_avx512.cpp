/*
 * exact_division_avx512.cpp - laneDivide on 512-bit registers, built for
 * AVX-512F with FMA as lanes_avx512.cpp is (exact_division_lanes.h).
 */
#include <immintrin.h>

#include "exact_division_lanes.h"
#include "many/lane_divide.h"

namespace {

struct Lanes {
    using V = __m512d;
    static V set1(double v) { return _mm512_set1_pd(v); }
};

}  // namespace

namespace geoharm_test {

void divideLanesAvx512(const double* a, std::size_t count, int d, double* q) {
    for (std::size_t i = 0; i + 8 <= count; i += 8)
        _mm512_storeu_pd(q + i, geoharm::laneDivide<Lanes>(_mm512_loadu_pd(a + i), d));
}

}  // namespace geoharm_test
