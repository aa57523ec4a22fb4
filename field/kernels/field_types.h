/*
 * field_types.h - the records that pass between the stages of one
 * evaluation of the field.
 */
#ifndef GEOHARM_FIELD_TYPES_H
#define GEOHARM_FIELD_TYPES_H

#include <cstdint>

namespace geoharm {

/*
 * One request: position (m, Earth-fixed Cartesian axes) and the largest
 * degree N and order M of the harmonic terms to include.  N and M are
 * signed 8-bit as the host hands them in; every bound is worked out on
 * their values widened to int.
 */
struct FieldInput {
    double x, y, z;
    std::int8_t n, m;
};

/*
 * Per-call scalars shared by the recursion and the summation.
 *
 *   r           distance from the geocentre (m)
 *   s           r*r, the square of the rounded r (m^2)
 *   gmr2        GM/s (m/s^2)
 *   q           R_REF/s (1/m)
 *   rho         (R_REF/r)^2 as R_REF^2/s (dimensionless)
 *   x0, y0, z0  coordinates scaled by q: x0 = x R_REF / r^2 (dimensionless)
 */
struct FieldScalars {
    double r, s, gmr2, q, rho;
    double x0, y0, z0;
};

}  // namespace geoharm

#endif
