/*
 * gradient_sums.h - the harmonic part of the gradient tensor and of the
 * potential (the derivation: sum_gradient_terms.cpp).
 */
#ifndef GEOHARM_GRADIENT_SUMS_H
#define GEOHARM_GRADIENT_SUMS_H

#include "point/harmonic_arrays.h"

namespace geoharm {

/*
 * sumGradientTerms - second derivatives and values of the harmonic terms
 * of degree 2..N and order 0..min(n, M), summed degree by degree.
 *
 * Given:
 *   N, M  largest degree and order, 2 <= N <= MAX_DEGREE, 0 <= M <=
 *         MAX_DEGREE (the caller clamps, and adds nothing for smaller ones)
 *   V, W  the harmonic functions of this position up to degree N+2 and
 *         order min(M, N)+2 (fillHarmonicArrays for N+1 and M+1)
 * Returned:
 *   t     the tensor's xx, yy, zz, xy, xz, yz without the point mass (1/s^2)
 *   u     the potential without the point mass (m^2/s^2)
 */
void sumGradientTerms(int N, int M, const double V[HARMONIC_SIZE], const double W[HARMONIC_SIZE], double t[6],
                      double* u);

}  // namespace geoharm

#endif
