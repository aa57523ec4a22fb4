/*
 * octave_handles.h - how the by-reference binding's pointer-sized values
 * map onto Octave's C MEX API.
 *
 * The plug-in holds an array handle or a data address as a MexPointer (a
 * pointer-sized integer).  Under Octave a handle is an mxArray* and a data
 * address is the address of the array's first element; both convert to and
 * from MexPointer without loss.
 */
#ifndef GEOHARM_OCTAVE_HANDLES_H
#define GEOHARM_OCTAVE_HANDLES_H

#include <octave/mex.h>

#include "mex_host.h"

namespace geoharm_octave {

/* The Octave array whose handle is held in *slot. */
inline const mxArray* arrayInSlot(const geoharm::MexPointer* slot) {
    return reinterpret_cast<const mxArray*>(*slot);
}

/* A handle or data address as the binding passes it. */
inline geoharm::MexPointer asMexPointer(const void* address) {
    return reinterpret_cast<geoharm::MexPointer>(address);
}

/* The data address held in *variable. */
inline void* dataAddress(const geoharm::MexPointer* variable) {
    return reinterpret_cast<void*>(*variable);
}

}  // namespace geoharm_octave

#endif
