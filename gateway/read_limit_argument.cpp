/*
 * read_limit_argument.cpp - how to read the degree N or the order M.
 *
 * An int8 argument is read as it always was: its data byte, copied
 * through the host once the output array exists.  Any other numeric or
 * logical class is read here by its value, so that the natural call with a
 * double 10 means degree 10 (its first byte is 0) and uint8(200) means 127,
 * not -56.  Reading the value here, before anything is created, lets a NaN
 * be refused while the call still holds nothing.
 *
 * Notes:
 *   1. Complex arrays are accepted: the first element of the data is the
 *      real part of the first element.
 *   2. Sparse arrays are refused: their data holds the nonzeros only, so an
 *      all-zero sparse scalar has no first element to read.
 */
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"

namespace geoharm {

LimitReading readLimitArgument(const MexPointer* slot, int* limit) {
    /* Only numeric and logical classes carry a number. */
    const MexInt classId = GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot);
    const bool numeric = classId == LOGICAL_CLASS || (classId >= DOUBLE_CLASS && classId <= UINT64_CLASS);
    if (!numeric) return LimitReading::Unusable;

    /* One element, stored in full. */
    if (GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(slot) != 0) return LimitReading::Unusable;
    const MexSize elements = GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot);
    if (elements < 1) return LimitReading::Unusable;
    if (elements > 1) return LimitReading::NotScalar;

    /* int8: the byte is copied later, in the order of the call's steps. */
    if (classId == INT8_CLASS) return LimitReading::Byte;

    /* Any other class: the value of the first element. */
    const MexPointer data = GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(slot);
    return limitFromElement(classId, data, limit) ? LimitReading::Value : LimitReading::NotANumber;
}

}  // namespace geoharm
