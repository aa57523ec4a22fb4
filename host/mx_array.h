/*
 * mx_array.h - the stand-in host's array, behind an array handle.
 */
#ifndef GEOHARM_HOST_MX_ARRAY_H
#define GEOHARM_HOST_MX_ARRAY_H

#include <cstdint>
#include <string>
#include <vector>

#include "mex_platform.h"

namespace geoharm {
namespace host {

/* Marks a live array; cleared when it is freed. */
constexpr std::uint32_t ARRAY_MAGIC = 0x6d784172u;

struct MxArray {
    std::uint32_t magic;
    MexInt classId;
    std::vector<MexSize> dims;
    MexSize count; /* number of elements: product of dims */
    bool complex;
    bool sparse;
    void* real; /* count elements, or nullptr when count is 0; a struct's
                   count x fields.size() handles, element by element */
    void* imag; /* likewise, complex arrays only */
    std::vector<std::string> fields; /* a struct's field names */
    /* Arrays that share this one's data (createSharedCopy): their count,
       shared by all of them; null when the data is this array's alone. */
    long* sharers;
};

/*
 * arrayOf - the array behind a handle.  A handle that is 0 or not a live
 * array is a fault of the caller (typically a data address passed where a
 * slot address belongs): the host reports it and aborts.
 */
MxArray* arrayOf(MexPointer handle, const char* routine);

}  // namespace host
}  // namespace geoharm

#endif
