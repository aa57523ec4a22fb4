/*
 * lane_divide.h - division of every lane of a vector register by a small
 * integer (the divisors of the recursion of the harmonic functions), for
 * the lane kernels (lane_kernel.h).  The one place where the lane kernels
 * divide: a quicker exact quotient goes here and reaches every kernel.
 *
 * The lane type L provides V (a GCC vector of doubles, whose / is the
 * lane-wise IEEE division) and set1.
 */
#ifndef GEOHARM_LANE_DIVIDE_H
#define GEOHARM_LANE_DIVIDE_H

#include "model/field_constants.h"

namespace geoharm {

/* Small integers as doubles (exact), and the inverses 2^-k of the divisors
   2, 4, 8 (exact too), indexed by the integer. */
constexpr double SMALL_INTEGERS[2 * HARMONIC_DIM] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                     13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
constexpr double INVERSE_OF_POWER_OF_TWO[9] = {0, 0, 0.5, 0, 0.25, 0, 0, 0, 0.125};

/* t / d for an integer divisor d = 2..12, lane by lane (12 in the
   gradient's zonal function of degree 12).  For d = 2, 4, 8 the product
   with the exact reciprocal is the same real number as the quotient, hence
   rounds to the same double. */
template <class L>
inline __attribute__((always_inline)) typename L::V laneDivide(const typename L::V t, const int d) {
    if (d == 2 || d == 4 || d == 8) return t * L::set1(INVERSE_OF_POWER_OF_TWO[d]);
    return t / L::set1(SMALL_INTEGERS[d]);
}

}  // namespace geoharm

#endif
