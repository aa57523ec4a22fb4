/*
 * synthetic_constants.h - the constants every synthetic model shares,
 * written in this one place.
 *
 *   SYNTHETIC_GM      GM (m^3/s^2) and
 *   SYNTHETIC_RADIUS  R (m) of a present-day Earth model;
 *   SYNTHETIC_C20     the fully normalised C(2,0) of the real Earth;
 *   KAULA_SCALE       Kaula's rule: the root mean square of the fully
 *                     normalised coefficients of degree n is about
 *                     KAULA_SCALE / n^2;
 *   SYNTHETIC_MAX_DEGREE  the highest degree the generator makes.
 */
#ifndef GEOHARM_TESTS_MODELS_SYNTHETIC_CONSTANTS_H
#define GEOHARM_TESTS_MODELS_SYNTHETIC_CONSTANTS_H

namespace geoharm_test {

inline constexpr double SYNTHETIC_GM = 3.986004415e14;
inline constexpr double SYNTHETIC_RADIUS = 6378136.3;
inline constexpr double SYNTHETIC_C20 = -4.84165143790815e-4;
inline constexpr double KAULA_SCALE = 1e-5;
inline constexpr int SYNTHETIC_MAX_DEGREE = 2700;

}  // namespace geoharm_test

#endif
