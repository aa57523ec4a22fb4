/*
 * harmonic_sums.h - the non-central part of the acceleration.
 */
#ifndef GEOHARM_HARMONIC_SUMS_H
#define GEOHARM_HARMONIC_SUMS_H

#include "point/harmonic_arrays.h"

namespace geoharm {

/*
 * sumHarmonicTerms - gradient of the harmonic terms of degree 1..N and order
 * 0..min(n, M), summed degree by degree.
 *
 * Given:
 *   N, M  largest degree and order, at most MAX_DEGREE each (the caller
 *         clamps).  N <= 0 or M < 0 gives no term.
 *   V, W  the harmonic functions of this position, filled by
 *         fillHarmonicArrays for the same N and M.
 * Returned:
 *   sum   (ax, ay, az) in m/s^2, without the central term.
 */
void sumHarmonicTerms(int N, int M, const double V[HARMONIC_SIZE], const double W[HARMONIC_SIZE],
                      double sum[3]);

}  // namespace geoharm

#endif
