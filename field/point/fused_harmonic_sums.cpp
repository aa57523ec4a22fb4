/*
 * fused_harmonic_sums.cpp - the harmonic sums through the level's
 * one-point routine (machine/routine_table.h); all give the same bits.
 */
#include "point/fused_harmonic_sums.h"

#include "machine/routine_table.h"

namespace geoharm {

void fusedHarmonicSums(const FieldScalars& sc, int N, int M, double sum[3]) {
    /* No term at all: the sums stay +0.0 and no function is read. */
    if (N <= 0 || M < 0) {
        sum[0] = 0.0;
        sum[1] = 0.0;
        sum[2] = 0.0;
        return;
    }
    activeRoutines().pointSums(sc, N, M, sum);
}

}  // namespace geoharm
