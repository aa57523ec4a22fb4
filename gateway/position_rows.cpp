/*
 * position_rows.cpp - whether input 1 of geoharm_batch or geoharm_gradient
 * holds K points, one per row (x, y, z in columns 1, 2, 3), and how many.
 *
 * The points are read in place from the array's real data, column by
 * column, so the array must be real double stored in full, two-dimensional
 * (a K-by-1-by-3 array has the same columns count but is not a list of
 * rows) and exactly three columns wide, or one point as a 3-by-1 column
 * (geoharm's one-point form).  A 3-by-K array (K != 3) is the
 * likeliest slip, points in columns, and is told apart so that its message
 * can say so.  K is bounded by the caller's most, so that the element
 * counts of its input and outputs (3*K, 9*K) fit the host's 32-bit sizes.
 */
#include "gateway_errors.h"
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"

namespace geoharm {

PositionsReading readPositionRows(const MexPointer* slot, MexInt maxRows, MexInt* rows) {
    /* A real double array stored in full. */
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot) != DOUBLE_CLASS) return PositionsReading::NotRealDouble;
    if (GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(slot) != 0) return PositionsReading::NotRealDouble;
    if (GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(slot) != 0) return PositionsReading::NotRealDouble;

    /* Two dimensions, three columns; 3-by-K told apart. */
    const MexSize dims = GEOHARM_MEX_NAME(mxgetnumberofdimensions_, MXGETNUMBEROFDIMENSIONS)(slot);
    const MexSize m = GEOHARM_MEX_NAME(mxgetm_, MXGETM)(slot);
    const MexSize n = GEOHARM_MEX_NAME(mxgetn_, MXGETN)(slot);
    if (dims != 2) return PositionsReading::NotKBy3;
    /* One point as a column, x, y, z, as geoharm takes it: its three
       doubles lie as a 1-by-3 array's do. */
    if (m == 3 && n == 1) {
        *rows = 1;
        return PositionsReading::Usable;
    }
    if (n != 3) return m == 3 ? PositionsReading::Transposed : PositionsReading::NotKBy3;

    /* K within the 32-bit sizes. */
    if (m > maxRows) return PositionsReading::TooManyRows;
    *rows = static_cast<MexInt>(m);
    return PositionsReading::Usable;
}

MexInt checkPositionRows(const FixedFpState& fixedState, const MexPointer* slot, MexInt maxRows,
                         const char* positionsId, const char* rowsMessage, int inputShift) {
    MexInt rows = 0;
    switch (readPositionRows(slot, maxRows, &rows)) {
        case PositionsReading::Usable:
            break;
        case PositionsReading::NotRealDouble:
            raiseHostError(fixedState, positionsId, POSITIONS_CLASS_MESSAGE, inputShift);
        case PositionsReading::NotKBy3:
            raiseHostError(fixedState, positionsId, POSITIONS_SHAPE_MESSAGE, inputShift);
        case PositionsReading::Transposed:
            raiseHostError(fixedState, positionsId, POSITIONS_TRANSPOSED_MESSAGE, inputShift);
        case PositionsReading::TooManyRows:
            raiseHostError(fixedState, positionsId, rowsMessage, inputShift);
    }
    return rows;
}

}  // namespace geoharm
