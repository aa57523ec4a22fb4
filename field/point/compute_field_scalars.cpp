/*
 * compute_field_scalars.cpp - distance and scaled coordinates of a position.
 *
 *   r   = sqrt((x^2 + y^2) + z^2), squares added in this order, the square
 *         root correctly rounded
 *   s   = r*r, the square of the rounded r (not x^2+y^2+z^2): all three
 *         quotients below share it
 *   gmr2 = GM/s,  q = R_REF/s,  rho = R_REF^2/s
 *   x0, y0, z0 = (x, y, z) q
 */
#include <cmath>

#include "model/field_constants.h"
#include "point/field_scalars.h"

namespace geoharm {

FieldScalars computeFieldScalars(double x, double y, double z) {
    FieldScalars sc;

    /* Distance from the geocentre. */
    sc.r = std::sqrt((x * x + y * y) + z * z);

    /* The three reciprocal-square quantities, each from the same s. */
    sc.s = sc.r * sc.r;
    sc.gmr2 = GM / sc.s;
    sc.q = R_REF / sc.s;
    sc.rho = R_REF2 / sc.s;

    /* Coordinates scaled by R_REF/r^2: the seeds of the order recursion. */
    sc.x0 = x * sc.q;
    sc.y0 = y * sc.q;
    sc.z0 = z * sc.q;
    return sc;
}

}  // namespace geoharm
