/*
 * gateway_routines.h - the steps of the entry point that have a routine of
 * their own: the checks of the inputs, the reading of N and M of any class,
 * and the error raised through the host.
 */
#ifndef GEOHARM_GATEWAY_ROUTINES_H
#define GEOHARM_GATEWAY_ROUTINES_H

#include <cstdint>

#include "fixed_fp_state.h"
#include "mex_platform.h"

namespace geoharm {

/* How a degree or order argument is to be read. */
enum class LimitReading {
    Byte,     /* int8: its first data byte, copied through the host */
    Value,    /* another numeric or logical class: already read by value */
    Unusable, /* empty, sparse, or neither numeric nor logical */
    NotANumber
};

/*
 * positionIsUsable - whether input 0 can be read as x, y, z.
 *
 * Given:
 *   slot   address of the input slot that holds the array handle
 * Returned (function value):
 *   true for a real, non-sparse double array of at least three elements
 *   (only the first three are read); false otherwise.
 */
bool positionIsUsable(const MexPointer* slot);

/*
 * readLimitArgument - classify N or M and, unless it is int8, read it.
 *
 * Given:
 *   slot   address of the input slot that holds the array handle
 * Returned:
 *   limit  for LimitReading::Value, the first element truncated toward
 *          zero and saturated to -128..127; otherwise untouched
 * Returned (function value):
 *   how the argument is to be read (see LimitReading).
 */
LimitReading readLimitArgument(const MexPointer* slot, std::int8_t* limit);

/*
 * limitFromElement - the first element of a numeric or logical array as a
 * signed 8-bit degree or order.
 *
 * Given:
 *   classId  the array's class (host numbering: 3 logical, 6 double,
 *            7 single, 8..15 int8..uint64)
 *   data     the array's data address (at least one element)
 * Returned:
 *   limit    the value truncated toward zero, saturated to -128..127
 * Returned (function value):
 *   false when the element is NaN (limit untouched), true otherwise.
 */
bool limitFromElement(MexInt classId, MexPointer data, std::int8_t* limit);

/*
 * raiseHostError - end the call through the host's error routine with an
 * identifier ("geoharm:nrhs") and a message.  Does not return: the host
 * unwinds to its own frame, so the caller must hold nothing that needs
 * releasing.  The caller's floating-point state (held by fixedState) is
 * given back first, since the host's unwinding skips its restoring.
 */
[[noreturn]] void raiseHostError(const FixedFpState& fixedState, const char* identifier, const char* message);

}  // namespace geoharm

#endif
