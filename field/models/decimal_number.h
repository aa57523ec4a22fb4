/*
 * decimal_number.h - decimal numbers of model files read as the nearest
 * double: correctly rounded, locale-independent, the same bits on every
 * build and in every floating-point state of the caller.
 *
 * Syntax, the whole of [begin, end) and nothing else:
 *
 *     [+|-] mantissa [exponent]
 *     mantissa   digits, digits '.', digits '.' digits, or '.' digits
 *     exponent   one of e E d D (the Fortran double-precision letter),
 *                then [+|-] and at least one digit
 *
 * No blanks, no "inf" or "nan", no hexadecimal.  Any number of digits is
 * read: the value is that of the exact decimal, rounded once to nearest,
 * ties to even.  Results below the smallest subnormal half round to zero
 * (with the sign kept), subnormal results are exact roundings too; a value
 * that rounds beyond the largest double is OutOfRange.
 *
 * The arithmetic is integer arithmetic alone (the value is assembled from
 * its bits), so neither the processor's rounding mode nor the 32-bit
 * build's x87 unit can change a result.
 */
#ifndef GEOHARM_MODELS_DECIMAL_NUMBER_H
#define GEOHARM_MODELS_DECIMAL_NUMBER_H

namespace geoharm {

enum class NumberStatus { Ok, Malformed, OutOfRange };

/*
 * parseDecimal - the double nearest to the decimal number in [begin, end).
 *
 * Given:
 *   begin, end  the text (not NUL-terminated)
 * Returned:
 *   value       the number, set only when the status is Ok
 * Returns Ok, Malformed (not of the syntax above) or OutOfRange (its
 * magnitude rounds to infinity).
 */
NumberStatus parseDecimal(const char* begin, const char* end, double* value);

}  // namespace geoharm

#endif
