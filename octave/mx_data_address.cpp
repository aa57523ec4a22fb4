/*
 * mxgetpr_, mxgetdata_ - the address of an array's first data element.
 *
 * Given:   slot   address of a variable that holds an array handle
 * Returned: the data address as a MexPointer (0 for an empty array).
 *
 * mxgetpr_ is meant for double arrays (the real part); mxgetdata_ for any
 * numeric, logical or char class.  Under Octave's non-interleaved storage,
 * which it uses for plug-ins with the by-reference entry point, both give
 * the start of the real data.
 */
#include "octave_handles.h"

extern "C" geoharm::MexPointer GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(const geoharm::MexPointer* slot) {
    return geoharm_octave::asMexPointer(mxGetPr(geoharm_octave::arrayInSlot(slot)));
}

extern "C" geoharm::MexPointer GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(const geoharm::MexPointer* slot) {
    return geoharm_octave::asMexPointer(mxGetData(geoharm_octave::arrayInSlot(slot)));
}
