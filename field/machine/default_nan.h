/*
 * default_nan.h - the one NaN the entry points return: every NaN result
 * leaves the evaluation as the default quiet NaN 0x7FF8000000000000.
 *
 * The bits of a NaN that IEEE arithmetic produces are not fixed by the
 * operations alone: an invalid operation (0 * inf, inf - inf, 0 / 0) gives
 * the processor's default NaN, which SSE2 makes negative (0xFFF8...); an
 * operation on a NaN passes on one operand's sign and payload, and which
 * operand is up to the instruction the compiler picked.  So the same
 * position gave NaNs of either sign on different builds, routines and
 * paths.  Applied where results leave the evaluation, after the last
 * operation, the rule makes them one value and changes no other bit:
 *
 *   toDefaultNan(v)         v, or DEFAULT_NAN when v is a NaN
 *   toDefaultNanLanes<L>(v) the same in every lane of a lane type's register
 *
 * Notes:
 *   1. A result that is not a NaN keeps its bits: infinities, signed
 *      zeros and subnormals included.  The test is a comparison (v != v),
 *      which changes no value and, in the fixed floating-point state (every
 *      exception masked), traps on none.
 *   2. It is applied at the final stores of the evaluation: the central
 *      term of the one-point paths (addCentralTerm, central_term.h: the
 *      fused path and the plain stages) and of the lane kernel (laneGroup,
 *      lane_kernel.h: every lane routine, any thread), and the gradient's
 *      (storeTensor for every tensor, central_tensor.h; the acceleration
 *      and potential of pairGradient, evaluateGradientPlain and
 *      gradientLaneGroup); every entry point (the plug-ins, the installed
 *      interface) returns what those store.  A new kind of result applies
 *      it at its own final stores.
 *   3. The lane version works on the lane type's vector of doubles with
 *      GCC's vector operations, so each routine file compiles it for its
 *      own instruction set (a lane-wise compare and select); it is a
 *      template on the lane type, whose internal linkage keeps the copies
 *      of the instruction sets apart.  Any lane type whose V compares with
 *      != (a mask of lanes, or a bool for a one-lane type) takes it.
 */
#ifndef GEOHARM_DEFAULT_NAN_H
#define GEOHARM_DEFAULT_NAN_H

namespace geoharm {

/* The default quiet NaN: sign 0, exponent all ones, the quiet bit alone. */
constexpr double DEFAULT_NAN = __builtin_nan("");

inline __attribute__((always_inline)) double toDefaultNan(double v) { return v != v ? DEFAULT_NAN : v; }

template <class L>
inline __attribute__((always_inline)) typename L::V toDefaultNanLanes(typename L::V v) {
    /* All ones in a lane that holds a NaN (unordered with itself). */
    const auto isNan = v != v;
    return isNan ? L::set1(DEFAULT_NAN) : v;
}

}  // namespace geoharm

#endif
