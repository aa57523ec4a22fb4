/*
 * mxgetnumberofelements_, mxgetm_, mxgetn_, mxgetnumberofdimensions_,
 * mxiscomplex_, mxissparse_ - what an array holds.
 *
 * Given:   slot   address of a variable that holds an array handle
 * Returned: the number of elements (product of the dimensions); the
 *           number of rows; of columns (the product of the dimensions
 *           after the first); of dimensions (trailing ones of size 1 after
 *           the second not counted, as Octave keeps them); 1 if the array
 *           has an imaginary part, else 0; 1 if it is sparse, else 0.
 */
#include "octave_handles.h"

extern "C" geoharm::MexSize GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(
    const geoharm::MexPointer* slot) {
    return static_cast<geoharm::MexSize>(mxGetNumberOfElements(geoharm_octave::arrayInSlot(slot)));
}

extern "C" geoharm::MexSize GEOHARM_MEX_NAME(mxgetm_, MXGETM)(const geoharm::MexPointer* slot) {
    return static_cast<geoharm::MexSize>(mxGetM(geoharm_octave::arrayInSlot(slot)));
}

extern "C" geoharm::MexSize GEOHARM_MEX_NAME(mxgetn_, MXGETN)(const geoharm::MexPointer* slot) {
    return static_cast<geoharm::MexSize>(mxGetN(geoharm_octave::arrayInSlot(slot)));
}

extern "C" geoharm::MexSize GEOHARM_MEX_NAME(mxgetnumberofdimensions_, MXGETNUMBEROFDIMENSIONS)(
    const geoharm::MexPointer* slot) {
    return static_cast<geoharm::MexSize>(mxGetNumberOfDimensions(geoharm_octave::arrayInSlot(slot)));
}

extern "C" geoharm::MexInt GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(const geoharm::MexPointer* slot) {
    return mxIsComplex(geoharm_octave::arrayInSlot(slot)) ? 1 : 0;
}

extern "C" geoharm::MexInt GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(const geoharm::MexPointer* slot) {
    return mxIsSparse(geoharm_octave::arrayInSlot(slot)) ? 1 : 0;
}
