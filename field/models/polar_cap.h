/*
 * polar_cap.h - the points near a pole, where the column recursion needs
 * more than a double's precision, and what it takes there.
 *
 * Near a pole (u = cos of the latitude small) the recursion of
 * model_column.h runs where its functions do not oscillate: for order 0
 * (and 1) its two solutions grow alike, so every rounding error of a step,
 * and every error of its factors, grows along the column like the number
 * of degrees still to come, and the functions of degree 2190 lose some
 * ten digits (up to 6e-11 at the axis, against exact values); and every
 * column's functions there change, with t = z/r, by the degree squared
 * times the change of t, so that t rounded to a double costs as much.
 * Within the cap u^2 < POLAR_CAP_U2 (u < 1/4: 14.5 degrees around either
 * pole), a point takes:
 *
 *   - t, and tau = rho t, as pairs of doubles (double_double.h): t from
 *     1 - u^2/(1 + |t|), u^2 = (x^2 + y^2)/r^2, which has the full
 *     precision near the pole that z/r lacks; every column's recursion
 *     multiplies by tau's low half too;
 *   - the columns of the orders below POLAR_PAIR_ORDERS recursed wholly in
 *     pairs of doubles, their factors as pairs too (degree_factors.h), and
 *     sigma = rho^2 exactly; their functions rounded to doubles only for
 *     the sums.
 *
 * Outside the cap neither helps (the functions oscillate and errors do not
 * grow; z/r is precise), and a point takes the plain recursion.  The cap
 * is decided on u^2 as a double, the same on every build, so every point
 * is evaluated the same way by every routine.
 */
#ifndef GEOHARM_POLAR_CAP_H
#define GEOHARM_POLAR_CAP_H

namespace geoharm {

constexpr double POLAR_CAP_U2 = 0.0625;
constexpr int POLAR_PAIR_ORDERS = 3;

}  // namespace geoharm

#endif
