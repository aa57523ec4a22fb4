/*
 * model.h - the constants of the degree-10 geopotential model, as a program
 * that uses the library sees them (installed as <geoharm/model.h>, included
 * by <geoharm/geoharm.h>).
 *
 *   GM          gravitational parameter (m^3/s^2): the double
 *               398600446148608.0, which is the single-precision value
 *               nearest to 3.986004418e14, held exactly, not that decimal
 *               itself.  Every coefficient of the model is likewise a
 *               single-precision value held exactly as a double.
 *   R_REF       reference radius of the harmonic expansion (m).
 *   MAX_DEGREE  the highest degree and order of the model's terms.
 */
#ifndef GEOHARM_MODEL_H
#define GEOHARM_MODEL_H

namespace geoharm {

inline constexpr double GM = 398600446148608.0;
inline constexpr double R_REF = 6378137.0;
inline constexpr int MAX_DEGREE = 10;

}  // namespace geoharm

#endif
