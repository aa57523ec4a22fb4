/*
 * exact_division_avx2_fma.cpp - laneDivide and exactQuotient on 256-bit
 * registers, built for AVX2 with FMA as the level avx2_fma is
 * (exact_division_lanes.h).
 */
#include <immintrin.h>

#include "exact_division_lanes.h"
#include "kernels/lane_divide.h"
#include "kernels/level_lanes.h"

using Lanes = geoharm::avx2_fma::Lanes; /* the lane routines' own type */

namespace geoharm_test {

void divideLanesAvx2Fma(const double* a, std::size_t count, int d, double* q) {
    for (std::size_t i = 0; i + 4 <= count; i += 4)
        _mm256_storeu_pd(q + i, geoharm::laneDivide<Lanes>(_mm256_loadu_pd(a + i), d));
}

void dividePairsAvx2Fma(const double* a, std::size_t count, int d0, int d1, int unused, double* q) {
    const __m256d d = _mm256_set_pd(d1, d1, d0, d0);
    const __m256d y = _mm256_set_pd(geoharm::RECIPROCALS[d1], geoharm::RECIPROCALS[d1], geoharm::RECIPROCALS[d0],
                                    geoharm::RECIPROCALS[d0]);
    for (std::size_t i = 0; i + 4 <= count; i += 4)
        _mm256_storeu_pd(q + i, geoharm::exactQuotient(_mm256_loadu_pd(a + i), d, y, unused));
}

}  // namespace geoharm_test
