/*
 * model_scaling.h - the scale of the functions of the column recursion.
 *
 * The fully normalised functions the recursion carries, Pbar(n,m)/u^m
 * (u = cos of the latitude) times (R/r)^(n-m), span far more than the
 * range of a double at high degree: near a pole the sectoral ones are
 * small and the others, at degree 2700, as large as 10^562.  Every column
 * starts from its sectoral value times 2^-930 (about 10^-280), so that
 * every value of interest lies within the range of doubles; the sums are
 * multiplied by 2^930 at the end, where they are the size of the result
 * again.  A value that underflows even so belongs to a term below 10^-28
 * of the result.  Both factors are powers of two: scaling by them changes
 * no significant bit.
 *
 * References:
 *   Holmes, S. A. and W. E. Featherstone (2002), A unified approach to the
 *   Clenshaw summation and the recursive computation of very high degree
 *   and order normalised associated Legendre functions, Journal of
 *   Geodesy 76, 279-299: the scaled seeds (their 10^-280) and the
 *   functions divided by u^m summed by Horner's scheme in u (sec. 3.2).
 */
#ifndef GEOHARM_MODEL_SCALING_H
#define GEOHARM_MODEL_SCALING_H

namespace geoharm {

constexpr double COLUMN_SCALE = 0x1p-930;
constexpr double COLUMN_UNSCALE = 0x1p930;

}  // namespace geoharm

#endif
