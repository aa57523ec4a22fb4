/*
 * mxgetfield700_ - the array in a field of one element of a struct array.
 *
 * Given:   slot    address of a variable that holds an array handle
 *          index   the element, counted from 1
 *          name    the field's name, nameLength bytes (not NUL-terminated)
 * Returned: the field's array handle, or 0 when the array is not a struct,
 *           the index is out of range or there is no such field.
 *
 * Octave's mxGetField counts elements from 0 and takes a NUL-terminated
 * name: the name is copied into a buffer of its own (a longer name than
 * any field can have is no field).
 */
#include <cstring>

#include "octave_handles.h"

extern "C" geoharm::MexPointer GEOHARM_MEX_NAME(mxgetfield700_, MXGETFIELD700)(const geoharm::MexPointer* slot,
                                                                               const geoharm::MexInt* index,
                                                                               const char* name,
                                                                               std::size_t nameLength) {
    const mxArray* array = geoharm_octave::arrayInSlot(slot);
    char field[128];
    if (!mxIsStruct(array) || *index < 1 || static_cast<std::size_t>(*index) > mxGetNumberOfElements(array) ||
        nameLength >= sizeof field)
        return 0;
    std::memcpy(field, name, nameLength);
    field[nameLength] = '\0';
    return geoharm_octave::asMexPointer(mxGetField(array, static_cast<mwIndex>(*index - 1), field));
}
