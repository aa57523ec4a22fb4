/*
 * lanes_avx512_fma.cpp - the lane kernel (lane_kernel.h) on 512-bit
 * registers, eight points per instruction, dividing by the recursion's
 * constants with fused multiply-add (exactQuotient, lane_divide.h: the
 * same doubles as the divider).  Built for AVX-512F with FMA; it runs only
 * at the level AVX512F_FMA (cpu_features.h).  Its symbols carry
 * "avx512_fma" or "Avx512Fma": AVX-512 allowed, and FMA in the exact
 * division's sequence alone.
 */
#include "many/lane_kernel.h"
#include "many/lane_routines.h"
#include "many/lane_type_avx512.h"

namespace geoharm {

namespace lanes_avx512_fma {

namespace {

/* lane_type_avx512.h's type under this file's name. */
struct Lanes : lanes_avx512::Lanes {};

}  // namespace

}  // namespace lanes_avx512_fma

void evaluateLanesAvx512Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                            double* ax, double* ay, double* az) {
    evaluateLanes<lanes_avx512_fma::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
