/*
 * exact_division_avx512.cpp - laneDivide on 512-bit registers, built for
 * AVX-512F with FMA as the level avx512f_fma is (exact_division_lanes.h).
 */
#include <immintrin.h>

#include "exact_division_lanes.h"
#include "kernels/lane_divide.h"
#include "kernels/level_lanes.h"

using Lanes = geoharm::avx512f_fma::Lanes; /* the lane routines' own type */

namespace geoharm_test {

void divideLanesAvx512(const double* a, std::size_t count, int d, double* q) {
    for (std::size_t i = 0; i + 8 <= count; i += 8)
        _mm512_storeu_pd(q + i, geoharm::laneDivide<Lanes>(_mm512_loadu_pd(a + i), d));
}

}  // namespace geoharm_test
