/*
 * mxcreatedoublematrix700_ - a new rows x cols double array.
 *
 * Given:   rows, cols    array size (32-bit, by reference)
 *          complexFlag   0 = real, anything else = with an imaginary part
 * Returned: the array's handle (an Octave mxArray*, as a MexPointer).
 *
 * Octave zero-fills the array and, during a plug-in call, owns it: an array
 * that the plug-in stores in an output slot becomes the call's result, any
 * other one is freed when the call ends, also when it ends in an error.
 * Negative sizes are taken as 0.
 */
#include "octave_handles.h"

extern "C" geoharm::MexPointer GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(
    const geoharm::MexInt* rows, const geoharm::MexInt* cols, const geoharm::MexInt* complexFlag) {
    /* Octave's sizes are 64-bit; a negative count means an empty dimension. */
    const mwSize m = *rows > 0 ? static_cast<mwSize>(*rows) : 0;
    const mwSize n = *cols > 0 ? static_cast<mwSize>(*cols) : 0;
    const mxComplexity complexity = *complexFlag != 0 ? mxCOMPLEX : mxREAL;
    return geoharm_octave::asMexPointer(mxCreateDoubleMatrix(m, n, complexity));
}
