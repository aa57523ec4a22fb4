/*
 * unnormalized_factors.h - from unnormalised coefficients to fully
 * normalised ones:
 *
 *   Cbar(n,m) = C(n,m) F(n,m),  F(n,m) = sqrt((n+m)! / ((2 - d(m)) (2n+1) (n-m)!))
 *
 * (d(m) = 1 for m = 0, else 0), the inverse of the normalisation factor
 * of the fully normalised associated Legendre functions.
 *
 * For one degree n, the ratio (n+m)!/(n-m)! is built order by order,
 * ratio(m) = ratio(m-1) (n+m)(n-m+1), as a significand in [1/2, 1) and a
 * power of two (taken from the double's bits, exactly), so that it
 * neither overflows nor underflows; then one division and one square root,
 * and the power of two put back into the bits: the same doubles on every
 * build, with no call of the C library (whose frexp and ldexp return
 * through the x87 on 32-bit x86).  F itself exceeds
 * the range of doubles above about degree 150 at the highest orders
 * (infinite): an unnormalised model there holds zeros, which stay zero
 * (makeModelData refuses any other number whose conversion is not finite).
 *
 * References:
 *   Heiskanen, W. A. and H. Moritz (1967), Physical Geodesy, W. H.
 *   Freeman, eq. 1-73 (the normalisation).
 */
#ifndef GEOHARM_UNNORMALIZED_FACTORS_H
#define GEOHARM_UNNORMALIZED_FACTORS_H

namespace geoharm {

/*
 * unnormalizedFactors - F(n,0..n) of one degree n >= 0.
 *
 * Returned:
 *   F   n+1 doubles (infinite where F exceeds the range of doubles)
 */
void unnormalizedFactors(int n, double* F);

}  // namespace geoharm

#endif
