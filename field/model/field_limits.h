/*
 * field_limits.h - the degree and order limits of one request as the
 * stages use them.
 */
#ifndef GEOHARM_FIELD_LIMITS_H
#define GEOHARM_FIELD_LIMITS_H

#include "model/field_constants.h"

namespace geoharm {

/*
 * clampToModel - an 8-bit limit N or M widened to int and clamped to the
 * model's degree: above MAX_DEGREE there is nothing to add and the arrays
 * end there.  Negative values keep their meaning (they switch stages off).
 */
inline int clampToModel(int limit) { return limit > MAX_DEGREE ? MAX_DEGREE : limit; }

}  // namespace geoharm

#endif
