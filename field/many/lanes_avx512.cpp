/*
 * lanes_avx512.cpp - the lane kernel (lane_kernel.h) on 512-bit registers:
 * eight points per instruction, dividing by the recursion's constants with
 * the divider.  Built for AVX-512F (and none of the other AVX-512
 * extensions); it runs at the level AVX512F, where the processor has
 * AVX-512F and the exact division by FMA does not pay
 * (fmaDivisionPays(), cpu_features.h; lanes_avx512_fma.cpp divides with
 * FMA).  Its symbols carry "avx512" or "Avx512", so that a look at the
 * instructions can tell its code from the rest: AVX-512 allowed, no FMA.
 */
#include <immintrin.h>

#include "many/lane_kernel.h"
#include "many/lane_type_avx512.h"
#include "many/lane_routines.h"

namespace geoharm {

void evaluateLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                         double* ax, double* ay, double* az) {
    evaluateLanes<lanes_avx512::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
