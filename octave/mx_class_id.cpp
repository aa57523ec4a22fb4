/*
 * mxgetclassid_ - the class of an array, in the binding's numbering.
 *
 * Given:   slot   address of a variable that holds an array handle
 * Returned: 0 unknown, 1 cell, 2 struct, 3 logical, 4 char, 5 void,
 *           6 double, 7 single, 8 int8, 9 uint8, 10 int16, 11 uint16,
 *           12 int32, 13 uint32, 14 int64, 15 uint64, 16 function handle.
 *
 * Octave's own enumeration happens to list the classes in the same order
 * today; the table below names every pair so that a change on either side
 * cannot go unnoticed.  Classes Octave adds later read as 0 (unknown).
 */
#include "octave_handles.h"

extern "C" geoharm::MexInt GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(const geoharm::MexPointer* slot) {
    switch (mxGetClassID(geoharm_octave::arrayInSlot(slot))) {
        case mxCELL_CLASS: return 1;
        case mxSTRUCT_CLASS: return 2;
        case mxLOGICAL_CLASS: return 3;
        case mxCHAR_CLASS: return 4;
        case mxVOID_CLASS: return 5;
        case mxDOUBLE_CLASS: return 6;
        case mxSINGLE_CLASS: return 7;
        case mxINT8_CLASS: return 8;
        case mxUINT8_CLASS: return 9;
        case mxINT16_CLASS: return 10;
        case mxUINT16_CLASS: return 11;
        case mxINT32_CLASS: return 12;
        case mxUINT32_CLASS: return 13;
        case mxINT64_CLASS: return 14;
        case mxUINT64_CLASS: return 15;
        case mxFUNCTION_CLASS: return 16;
        case mxUNKNOWN_CLASS: return 0;
    }
    return 0;
}
