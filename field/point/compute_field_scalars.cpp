/*
 * compute_field_scalars.cpp - distance and scaled coordinates of a position.
 *
 *   r   = sqrt((x^2 + y^2) + z^2), the square root correctly rounded
 *   s   = r*r, the square of the rounded r (not x^2+y^2+z^2), which the
 *         three quotients gmr2 = GM/s, q = R_REF/s, rho = R_REF^2/s share
 *   x0, y0, z0 = (x, y, z) q, the seeds of the order recursion
 */
#include <cmath>

#include "model/field_constants.h"
#include "point/field_scalars.h"

namespace geoharm {

FieldScalars computeFieldScalars(double x, double y, double z) {
    FieldScalars sc;
    sc.r = std::sqrt((x * x + y * y) + z * z);
    sc.s = sc.r * sc.r;
    sc.gmr2 = GM / sc.s;
    sc.q = R_REF / sc.s;
    sc.rho = R_REF2 / sc.s;
    sc.x0 = x * sc.q;
    sc.y0 = y * sc.q;
    sc.z0 = z * sc.q;
    return sc;
}

}  // namespace geoharm
