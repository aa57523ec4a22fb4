/*
 * field_scalars.h - the per-call scalars of one evaluation.
 */
#ifndef GEOHARM_FIELD_SCALARS_H
#define GEOHARM_FIELD_SCALARS_H

#include "kernels/field_types.h"

namespace geoharm {

/*
 * computeFieldScalars - r, s, gmr2, q, rho and the scaled coordinates of a
 * position (x, y, z in metres).  At the origin the divisions by zero follow
 * IEEE rules (r = 0, gmr2, q, rho infinite, x0, y0, z0 NaN); non-finite
 * coordinates pass through the same operations without a trap.
 */
FieldScalars computeFieldScalars(double x, double y, double z);

}  // namespace geoharm

#endif
