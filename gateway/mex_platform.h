/*
 * mex_platform.h - the one place where the three builds differ in source.
 *
 * The host binds its API by reference (every argument is an address) and
 * names the symbols in the platform's form:
 *
 *   Windows (32 and 64 bit)  upper case, undecorated:  MEXFUNCTION, MXGETPR
 *   Linux                    lower case, trailing _:   mexfunction_, mxgetpr_
 *
 * GEOHARM_MEX_NAME(lower, UPPER) picks the form; both spellings are written
 * out at every use so that a grep finds either.  On 32-bit Windows the
 * routines are cdecl and the export and import files strip the leading
 * underscore, so no @N or _ decoration reaches the binary.
 *
 * Integer widths of the binding:
 *   MexInt     the 32-bit signed counts and flags (nlhs, rows, class id, ...)
 *   MexPointer a pointer-sized integer: array handles and data addresses are
 *              passed as this, as the host's by-reference API does.
 *   MexSize    a pointer-sized element count.
 */
#ifndef GEOHARM_MEX_PLATFORM_H
#define GEOHARM_MEX_PLATFORM_H

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define GEOHARM_MEX_NAME(lower, UPPER) UPPER
#else
#define GEOHARM_MEX_NAME(lower, UPPER) lower
#endif

namespace geoharm {

using MexInt = std::int32_t;
using MexPointer = std::intptr_t;
using MexSize = std::intptr_t;

}  // namespace geoharm

#endif
