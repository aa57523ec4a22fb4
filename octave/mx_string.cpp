/*
 * mxgetstring700_ - the characters of a char array as bytes.
 *
 * Given:   slot        address of a variable that holds an array handle
 *          size        the room in text, in characters
 *          textLength  the hidden length of text (not used: size rules)
 * Returned: text[0 .. size-1], the characters padded with blanks, those
 *           beyond ASCII as '?'; 0, or 1 when the array is not char or
 *           does not fit.
 *
 * Octave keeps a char array as bytes, so its characters are read one byte
 * each from the data.
 */
#include "octave_handles.h"

extern "C" geoharm::MexInt GEOHARM_MEX_NAME(mxgetstring700_, MXGETSTRING700)(const geoharm::MexPointer* slot,
                                                                             char* text, const geoharm::MexInt* size,
                                                                             std::size_t textLength) {
    static_cast<void>(textLength);
    const mxArray* array = geoharm_octave::arrayInSlot(slot);
    const std::size_t room = *size < 0 ? 0 : static_cast<std::size_t>(*size);
    const bool isChar = mxIsChar(array);
    const std::size_t count = isChar ? mxGetNumberOfElements(array) : 0;
    const unsigned char* chars = static_cast<const unsigned char*>(isChar ? mxGetData(array) : nullptr);
    for (std::size_t i = 0; i < room; i++) text[i] = i < count ? (chars[i] < 128 ? static_cast<char>(chars[i]) : '?') : ' ';
    return isChar && count <= room ? 0 : 1;
}
