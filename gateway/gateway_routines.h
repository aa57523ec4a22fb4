/*
 * gateway_routines.h - the steps of the entry points that have a routine
 * of their own: the checks of the inputs, the reading of N and M of any
 * class, and the error raised through the host.  Built once as a static
 * library that every plug-in links; they call the host only through
 * mex_host.h.
 */
#ifndef GEOHARM_GATEWAY_ROUTINES_H
#define GEOHARM_GATEWAY_ROUTINES_H

#include <cstdint>

#include "machine/fixed_fp_state.h"
#include "mex_platform.h"

namespace geoharm {

/* How a degree or order argument is to be read. */
enum class LimitReading {
    Byte,      /* int8: its data byte, copied through the host */
    Value,     /* another numeric or logical class: already read by value */
    Unusable,  /* empty, sparse, or neither numeric nor logical */
    NotScalar, /* more than one element */
    NotANumber
};

/* What input 1 of geoharm is. */
enum class PositionReading {
    Usable,   /* a real, non-sparse double vector of at least 3 elements */
    Unusable, /* another class, complex, sparse, or fewer than 3 elements */
    Matrix    /* more than one row and more than one column */
};

/*
 * readPosition - whether input 0 of geoharm can be read as x, y, z.
 *
 * Given:
 *   slot   address of the input slot that holds the array handle
 * Returned (function value):
 *   what the array is (see PositionReading); for Usable only the first
 *   three elements are read, whatever the vector's length.
 */
PositionReading readPosition(const MexPointer* slot);

/*
 * readLimitArgument - classify N or M and, unless it is int8, read it.
 *
 * Given:
 *   slot   address of the input slot that holds the array handle
 * Returned:
 *   limit  for LimitReading::Value, the element truncated toward zero and
 *          saturated to LIMIT_LOW..LIMIT_HIGH; otherwise untouched
 * Returned (function value):
 *   how the argument is to be read (see LimitReading).
 */
LimitReading readLimitArgument(const MexPointer* slot, int* limit);

/* The range a limit is saturated to: wider than any model's degree, and
   an int8 limit of the compiled-in model keeps its value. */
constexpr int LIMIT_LOW = -1000000;
constexpr int LIMIT_HIGH = 1000000;

/* N and M of a call as the entry points read them. */
struct LimitArguments {
    int n = 0;
    int m = 0;
    LimitReading nReading = LimitReading::Unusable;
    LimitReading mReading = LimitReading::Unusable;
};

/*
 * checkLimitArguments - classify and read N (input slot 1) and M (slot 2),
 * or end the call.
 *
 * Given:
 *   fixedState  the call's floating-point guard (for raiseHostError)
 *   prhs        the input slots (at least three)
 *   degreeId    identifier of an unreadable N ("geoharm:degree")
 *   orderId     identifier of an unreadable M ("geoharm:order")
 *   inputShift  as for raiseHostError (prhs then starts after the model)
 * Returned:
 *   limits      how each is read and, unless int8, its value
 *
 * Notes:
 *   1. N is checked first; an unusable, non-scalar or NaN limit ends the
 *      call with the entry point's identifier and the shared text of
 *      gateway_errors.h.  Nothing is created or copied.
 *   2. An int8 limit is read later, by copyInt8Limits, once the call's
 *      outputs exist (the order of the host calls of geoharm).
 *   3. A non-scalar limit used to be read as its first element, silently;
 *      it is refused, as a second number in it would be ignored.
 */
void checkLimitArguments(const FixedFpState& fixedState, const MexPointer* prhs, const char* degreeId,
                         const char* orderId, LimitArguments* limits, int inputShift = 0);

/*
 * copyInt8Limits - the int8 limits by their byte, through the host's byte
 * copy: N from degreeData, then M from orderData (data addresses of N and
 * M).  A limit read by value is left as it is.
 */
void copyInt8Limits(MexPointer degreeData, MexPointer orderData, LimitArguments* limits);

/* compiledModelLimit - a limit as the compiled-in model takes it: an
   int8, saturated to -128..127 (it clamps to its degree itself). */
inline std::int8_t compiledModelLimit(int limit) {
    return static_cast<std::int8_t>(limit < -128 ? -128 : limit > 127 ? 127 : limit);
}

/* The most points of one geoharm_batch call: the 3*K elements of its
   input and output must fit the host's 32-bit sizes. */
constexpr MexInt MAX_BATCH_POINTS = 715827882;
static_assert(MAX_BATCH_POINTS == INT32_MAX / 3, "3 * MAX_BATCH_POINTS is the largest multiple of 3 in 32 bits");

/* The most points of one geoharm_gradient call: the 9*K elements of its
   tensors must fit the host's 32-bit sizes. */
constexpr MexInt MAX_GRADIENT_POINTS = 238609294;
static_assert(MAX_GRADIENT_POINTS == INT32_MAX / 9, "9 * MAX_GRADIENT_POINTS is the largest multiple of 9 in 32 bits");

/* What the positions input (input 1) of geoharm_batch or geoharm_gradient is. */
enum class PositionsReading {
    Usable,        /* K-by-3 real, non-sparse double, K <= the call's most, or
                      3-by-1: one point */
    NotRealDouble, /* another class, complex, or sparse */
    NotKBy3,       /* not two-dimensional with three columns */
    Transposed,    /* 3-by-K with K != 1, 3: points in columns */
    TooManyRows    /* K-by-3 with K above the call's most */
};

/*
 * readPositionRows - whether the positions input holds K points, one per
 * row, and K.
 *
 * Given:
 *   slot     address of the input slot that holds the array handle
 *   maxRows  the most points the call takes (MAX_BATCH_POINTS, ...)
 * Returned:
 *   rows     K, for PositionsReading::Usable (0 allowed); otherwise untouched
 * Returned (function value):
 *   what the array is (see PositionsReading).
 */
PositionsReading readPositionRows(const MexPointer* slot, MexInt maxRows, MexInt* rows);

/*
 * checkPositionRows - readPositionRows, or end the call with the entry
 * point's identifier (positionsId) and the shared texts of
 * gateway_errors.h; rowsMessage for too many rows; inputShift as for
 * raiseHostError.  Returns K.
 */
MexInt checkPositionRows(const FixedFpState& fixedState, const MexPointer* slot, MexInt maxRows,
                         const char* positionsId, const char* rowsMessage, int inputShift = 0);

/*
 * limitFromElement - the element of a numeric or logical scalar as a
 * degree or order.
 *
 * Given:
 *   classId  the array's class (host numbering: 3 logical, 6 double,
 *            7 single, 8..15 int8..uint64)
 *   data     the array's data address (one element)
 * Returned:
 *   limit    the value truncated toward zero, saturated to
 *            LIMIT_LOW..LIMIT_HIGH
 * Returned (function value):
 *   false when the element is NaN (limit untouched), true otherwise.
 */
bool limitFromElement(MexInt classId, MexPointer data, int* limit);

/*
 * raiseHostError - end the call through the host's error routine with an
 * identifier ("geoharm:nrhs") and a message.  Does not return: the host
 * unwinds to its own frame, so the caller must hold nothing that needs
 * releasing.  The caller's floating-point state (held by fixedState) is
 * given back first, since the host's unwinding skips its restoring.
 * inputShift: added to every "Input k" of the message (a call whose
 * first input is a model counts the others from 2).
 */
[[noreturn]] void raiseHostError(const FixedFpState& fixedState, const char* identifier, const char* message,
                                  int inputShift = 0);

}  // namespace geoharm

#endif
