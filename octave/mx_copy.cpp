/*
 * mxcopyptrtoreal8700_, mxcopyptrtointeger1700_, mxcopyreal8toptr700_ -
 * copies between an array's data and the plug-in's own variables.
 *
 * Given:   src, dst   one side a plain address, the other the address of a
 *                     variable that holds a data address
 *          count      number of elements (32-bit, by reference)
 *
 * The bytes are moved unchanged (memcpy), so a double keeps its exact bit
 * pattern, NaN payloads included.  A count of 0 or less copies nothing.
 */
#include <cstring>

#include "octave_handles.h"

namespace {

/* count elements of `width` bytes from `from` to `to`. */
void copyElements(void* to, const void* from, geoharm::MexInt count, std::size_t width) {
    if (count > 0) std::memcpy(to, from, static_cast<std::size_t>(count) * width);
}

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(const geoharm::MexPointer* src,
                                                                            double* dst,
                                                                            const geoharm::MexInt* count) {
    copyElements(dst, geoharm_octave::dataAddress(src), *count, sizeof(double));
}

extern "C" void GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(const geoharm::MexPointer* src,
                                                                                  std::int8_t* dst,
                                                                                  const geoharm::MexInt* count) {
    copyElements(dst, geoharm_octave::dataAddress(src), *count, sizeof(std::int8_t));
}

extern "C" void GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(const double* src,
                                                                            const geoharm::MexPointer* dst,
                                                                            const geoharm::MexInt* count) {
    copyElements(geoharm_octave::dataAddress(dst), src, *count, sizeof(double));
}
