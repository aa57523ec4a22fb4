/*
 * position_is_usable.cpp - whether input 0 holds x, y, z.
 *
 * The position is read as the first three doubles of the array's real
 * data; anything else (another class, an imaginary part, sparse storage,
 * which holds only the nonzeros, or fewer than three elements) would have
 * the copy read memory the array does not own.
 */
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"

namespace geoharm {

bool positionIsUsable(const MexPointer* slot) {
    /* A real double array ... */
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot) != DOUBLE_CLASS) return false;
    if (GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(slot) != 0) return false;
    /* ... stored in full ... */
    if (GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(slot) != 0) return false;
    /* ... with x, y and z in it. */
    return GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot) >= 3;
}

}  // namespace geoharm
