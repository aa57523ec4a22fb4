/*
 * lanes_avx2.cpp - the lane kernel (lane_kernel.h) on 256-bit registers:
 * four points per instruction, dividing with the divider.  This file
 * alone (with fused_harmonic_sums_avx.cpp) is built for AVX2 without FMA,
 * for the processors that have AVX2 but no FMA (level AVX2; the others
 * run lanes_avx2_fma.cpp); it runs only where cpuHasAvx2() says so.  Its
 * symbols carry "avx2" or "Avx2", so that a look at the instructions can
 * tell its code from the code every processor runs.
 */
#include "many/lane_kernel.h"
#include "many/lane_type_avx2.h"
#include "many/lane_routines.h"

namespace geoharm {

void evaluateLanesAvx2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az) {
    evaluateLanes<lanes_avx2::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
