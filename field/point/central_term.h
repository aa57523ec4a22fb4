/*
 * central_term.h - the point-mass term, added last to the harmonic sums:
 * a = sum - GM r / |r|^3, per axis a_x = sum_x - (gmr2 x) / r in that
 * order.  The final store of the one-point paths: a NaN component is
 * stored as the default NaN (default_nan.h).
 *
 * Given:
 *   sc    per-call scalars (gmr2, r)
 *   in    the position (m)
 *   sum   the harmonic sums (m/s^2)
 * Returned:
 *   a     the acceleration (m/s^2)
 */
#ifndef GEOHARM_CENTRAL_TERM_H
#define GEOHARM_CENTRAL_TERM_H

#include "machine/default_nan.h"
#include "kernels/field_types.h"

namespace geoharm {

inline void addCentralTerm(const FieldScalars& sc, const FieldInput& in, const double sum[3], double a[3]) {
    a[0] = toDefaultNan(sum[0] - (sc.gmr2 * in.x) / sc.r);
    a[1] = toDefaultNan(sum[1] - (sc.gmr2 * in.y) / sc.r);
    a[2] = toDefaultNan(sum[2] - (sc.gmr2 * in.z) / sc.r);
}

}  // namespace geoharm

#endif
