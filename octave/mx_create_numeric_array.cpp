/*
 * mxcreatenumericarray700_ - a new array of any number of dimensions.
 *
 * Given:   ndim          number of dimensions (32-bit, by reference)
 *          dims          the ndim dimensions (32-bit each)
 *          classId       the class, in the binding's numbering (3 logical,
 *                        4 char, 6 double, 7 single, 8..15 int8..uint64)
 *          complexFlag   0 = real, anything else = with an imaginary part
 * Returned: the array's handle (an Octave mxArray*, as a MexPointer).
 *
 * As mxcreatedoublematrix700_: Octave zero-fills the array and owns it
 * during the call; negative sizes are taken as 0.  Octave drops trailing
 * dimensions of 1 itself (3-by-3-by-1 is 3-by-3), as the host does.  A
 * class that is not numeric, logical or char makes a double array (the
 * plug-ins ask for double only).
 */
#include <vector>

#include "octave_handles.h"

namespace {

mxClassID octaveClass(geoharm::MexInt classId) {
    switch (classId) {
        case 3: return mxLOGICAL_CLASS;
        case 4: return mxCHAR_CLASS;
        case 7: return mxSINGLE_CLASS;
        case 8: return mxINT8_CLASS;
        case 9: return mxUINT8_CLASS;
        case 10: return mxINT16_CLASS;
        case 11: return mxUINT16_CLASS;
        case 12: return mxINT32_CLASS;
        case 13: return mxUINT32_CLASS;
        case 14: return mxINT64_CLASS;
        case 15: return mxUINT64_CLASS;
        default: return mxDOUBLE_CLASS;
    }
}

}  // namespace

extern "C" geoharm::MexPointer GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(
    const geoharm::MexInt* ndim, const geoharm::MexInt* dims, const geoharm::MexInt* classId,
    const geoharm::MexInt* complexFlag) {
    std::vector<mwSize> shape;
    for (geoharm::MexInt i = 0; i < *ndim; i++) shape.push_back(dims[i] > 0 ? static_cast<mwSize>(dims[i]) : 0);
    while (shape.size() < 2) shape.push_back(1);
    const mxComplexity complexity = *complexFlag != 0 ? mxCOMPLEX : mxREAL;
    return geoharm_octave::asMexPointer(
        mxCreateNumericArray(static_cast<mwSize>(shape.size()), shape.data(), octaveClass(*classId), complexity));
}
