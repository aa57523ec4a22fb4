/*
 * default_nan.h - the one NaN the entry points return: every NaN result
 * leaves the evaluation as the default quiet NaN 0x7FF8000000000000.
 *
 * The bits of a NaN are not fixed by the operations alone: an invalid
 * operation (0 * inf, inf - inf, 0 / 0) gives the processor's default NaN,
 * which SSE2 makes negative (0xFFF8...), and an operation on a NaN passes
 * on the sign and payload of whichever operand the compiler's instruction
 * picks; so the same position gave NaNs of either sign on different
 * builds, routines and paths.  Applied after the last operation, where
 * results leave the evaluation, the rule makes them one value:
 *
 *   toDefaultNan(v)         v, or DEFAULT_NAN when v is a NaN
 *   toDefaultNanLanes<L>(v) the same in every lane of a lane type's register
 *
 * Notes:
 *   1. Any other result keeps its bits (infinities, signed zeros and
 *      subnormals included): the test is a comparison (v != v), which
 *      changes no value and, every exception masked, traps on none.
 *   2. It is applied at the final stores of every evaluation (central_term.h,
 *      central_tensor.h, the one-point gradient, the lane kernels, the
 *      models' sums and tiles); every entry point returns what those
 *      store.  A new kind of result applies it at its own final stores.
 *   3. The lane version is a template on the lane type, compiled with
 *      GCC's vector operations for each routine file's instruction set (a
 *      lane-wise compare and select); the lane types of the levels live in
 *      the levels' namespaces, which keeps the copies apart.  Any V that
 *      compares with != (a lane mask, or a bool for a one-lane type) takes it.
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
