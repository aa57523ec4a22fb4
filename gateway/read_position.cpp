/*
 * read_position.cpp - whether input 0 of geoharm holds x, y, z.
 *
 * The position is read as the first three doubles of the array's real
 * data; anything else (another class, an imaginary part, sparse storage,
 * which holds only the nonzeros, or fewer than three elements) would have
 * the copy read memory the array does not own.  A matrix (more than one
 * row and more than one column) is refused too: its first three elements
 * are not one point but parts of several (a 2-by-3 array of two points
 * starts x1, x2, y1), so reading them would answer a question nobody
 * asked.  Any vector is taken, whatever its length: callers pass a state
 * vector (x, y, z, vx, vy, vz) and rely on its first three elements.
 */
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"

namespace geoharm {

PositionReading readPosition(const MexPointer* slot) {
    /* A real double array ... */
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot) != DOUBLE_CLASS) return PositionReading::Unusable;
    if (GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(slot) != 0) return PositionReading::Unusable;
    /* ... stored in full ... */
    if (GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(slot) != 0) return PositionReading::Unusable;
    /* ... with x, y and z in it ... */
    if (GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot) < 3) return PositionReading::Unusable;
    /* ... as a vector: one row or one column (the columns of an array of
       more dimensions are counted together, as the host counts them). */
    const MexSize rows = GEOHARM_MEX_NAME(mxgetm_, MXGETM)(slot);
    const MexSize columns = GEOHARM_MEX_NAME(mxgetn_, MXGETN)(slot);
    return rows > 1 && columns > 1 ? PositionReading::Matrix : PositionReading::Usable;
}

}  // namespace geoharm
