/*
 * field_constants.h - constants of the degree-10 geopotential model as the
 * evaluation uses them.
 *
 *   GM, R_REF, MAX_DEGREE   the model's own constants, as the installed
 *           interface states them (geoharm/model.h).
 *   R_REF2  R_REF squared; 6378137^2 = 40680631590769 is below 2^53, so the
 *           product is exact and is written out.
 *   K1      GM / R_REF^2, rounded once (m/s^2): scale of the zonal and
 *           radial gradient terms.
 *   K2      GM / (2 R_REF^2), rounded once (m/s^2): scale of the tesseral
 *           horizontal terms.  Equal to K1/2 exactly (halving is exact).
 *   K0      GM / R_REF, rounded once (m^2/s^2): scale of the harmonic terms
 *           of the potential.
 *   K3      GM / R_REF^3, rounded once (1/s^2): scale of the harmonic terms
 *           of the gradient tensor.  R_REF^3 is not exact in double, so the
 *           value is written as the correctly rounded quotient itself
 *           (worked out in exact rational arithmetic; the tests check it
 *           against a 113-bit quotient).  GM/R_REF^2 divided by R_REF
 *           would round twice and end one unit higher in the last place.
 */
#ifndef GEOHARM_FIELD_CONSTANTS_H
#define GEOHARM_FIELD_CONSTANTS_H

#include "geoharm/model.h"

namespace geoharm {

constexpr double R_REF2 = 40680631590769.0;
constexpr double K1 = 9.798285586083574;
constexpr double K2 = 4.899142793041787;
constexpr double K0 = 62494807.83316633;
constexpr double K3 = 0x1.9c60ec7878725p-20;

/* The harmonic functions reach two degrees and two orders above the model:
   the acceleration reads one above, the gradient tensor two. */
constexpr int HARMONIC_DIM = MAX_DEGREE + 3;

static_assert(R_REF * R_REF == R_REF2, "R_REF^2 is exact in double");
static_assert(GM / R_REF2 == K1, "K1 is GM/R_REF^2 rounded once");
static_assert(GM / (2.0 * R_REF2) == K2, "K2 is GM/(2 R_REF^2) rounded once");
static_assert(GM / R_REF == K0, "K0 is GM/R_REF rounded once");

}  // namespace geoharm

#endif
