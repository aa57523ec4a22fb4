/*
 * exact_decimal_rounding.h - the decimal reader's slow path: a decimal
 * number rounded to a double with exact big-integer arithmetic.
 */
#ifndef GEOHARM_MODELS_EXACT_DECIMAL_ROUNDING_H
#define GEOHARM_MODELS_EXACT_DECIMAL_ROUNDING_H

#include <cstdint>

namespace geoharm {

/*
 * roundDecimalExactly - the bits of the positive double nearest to
 * D 10^exponent, ties to even.
 *
 * Given:
 *   first, end  the digits of D, most significant first, the first one
 *               not '0'; a '.' among them is skipped (the mantissa of a
 *               number as written, from its first significant digit)
 *   exponent    the power of ten of D's last digit
 * Returned:
 *   bits        the double's bits (no sign): 0 for values that round to
 *               zero, 0x7FF0000000000000 for values that round beyond
 *               the largest double
 *
 * Notes:
 *   1. Only the first EXACT_DIGITS significant digits are kept, and a
 *      digit 1 after them stands for all others when any is not zero.
 *      The midpoints between adjacent doubles have at most 767
 *      significant digits, so no midpoint lies between the number so
 *      shortened and the number itself: the rounding is the same.
 *   2. The work grows with the digits and the exponent's size, up to
 *      about 50 division steps on integers of 4096 bits, far more than
 *      the fast path (decimal_number.cpp), which therefore leaves only
 *      the rare inputs it cannot decide to this routine.
 */
constexpr int EXACT_DIGITS = 800;
void roundDecimalExactly(const char* first, const char* end, long long exponent, std::uint64_t* bits);

}  // namespace geoharm

#endif
