/*
 * decimal_number.cpp - a decimal number read as the nearest double.
 *
 * The mantissa's first 19 significant digits make an integer w < 2^64 and
 * the number is w 10^q (plus the digits left out).  The fast path rounds
 * w 10^q = w 5^q 2^q from the 128-bit truncated power of five T of
 * powers_of_five.h: with w shifted so that its top bit is set, the
 * 192-bit product P = w T satisfies P <= w 5^q 2^-exp2 < P + 2^64, so the
 * 54 leading bits of P are those of the exact product unless the bits
 * below them read all ones down to the last 64 (a carry could reach
 * them), and the bits below the rounding bit are known to be non-zero
 * when P's are.  What the fast path cannot decide this way (that carry, a
 * possible tie, a subnormal result) goes to the exact path
 * (exact_decimal_rounding.cpp), as does a number with more than 19 digits
 * whose rounding from w and from w + 1 differ.  Nearly every number of a
 * model file takes the fast path: at most four 64-bit multiplications.
 */
#include "models/decimal_number.h"

#include <cstdint>
#include <cstring>

#include "models/exact_decimal_rounding.h"
#include "models/powers_of_five.h"

namespace geoharm {
namespace {

constexpr std::uint64_t INFINITY_BITS = 0x7FF0000000000000u;
constexpr int FAST_DIGITS = 19;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/* The 128-bit product a b as (hi, lo), from 32-bit halves: the same
   integers on the 32-bit build, which has no 128-bit type. */
void multiply64(std::uint64_t a, std::uint64_t b, std::uint64_t* hi, std::uint64_t* lo) {
    std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    *lo = (middle << 32) | (p00 & 0xFFFFFFFFu);
    *hi = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
}

int leadingZeros(std::uint64_t w) {
    int n = 0;
    for (std::uint64_t top = std::uint64_t{1} << 63; (w & top) == 0; top >>= 1) n++;
    return n;
}

/*
 * roundFast - the bits (no sign) of the double nearest to w 10^q, for
 * 0 < w < 2^64 and q in the table's range; false when undecided.
 */
bool roundFast(std::uint64_t w, int q, std::uint64_t* bits) {
    const PowerOfFive& t = POWERS_OF_FIVE.entry[q - MIN_POWER_OF_FIVE];
    int lz = leadingZeros(w);
    std::uint64_t wn = w << lz;

    /* P = wn (t.hi 2^64 + t.lo) = p2 2^128 + p1 2^64 + p0. */
    std::uint64_t a1, a0, b1, b0;
    multiply64(wn, t.hi, &a1, &a0);
    multiply64(wn, t.lo, &b1, &b0);
    std::uint64_t p0 = b0;
    std::uint64_t p1 = a0 + b1;
    std::uint64_t p2 = a1 + (p1 < a0 ? 1u : 0u);

    /* The 54 leading bits (53 kept, one rounding bit): P has 192 bits when
       p2's top bit is set, else 191 (wn, T >= 2^127 each half-full). */
    int upper = static_cast<int>(p2 >> 63);
    int shift = 9 + upper;
    std::uint64_t lowMask = (std::uint64_t{1} << shift) - 1;
    if ((p2 & lowMask) == lowMask && p1 == ~std::uint64_t{0}) return false;  // a carry may reach them
    std::uint64_t top = p2 >> shift;
    bool belowNonZero = (p2 & lowMask) != 0 || p1 != 0 || p0 != 0;
    std::uint64_t mantissa = top >> 1;
    if ((top & 1u) != 0) {
        if (!belowNonZero && (mantissa & 1u) == 0) return false;  // a tie, or just above one
        mantissa++;
    }

    /* value = mantissa 2^u, u = (190 + upper) - 52 + exp2 + q - lz. */
    int u = 138 + upper + t.exp2 + q - lz;
    if (mantissa == std::uint64_t{1} << 53) {
        mantissa >>= 1;
        u++;
    }
    int biased = u + 1075;
    if (biased < 1) return false;  // subnormal: rounded at another bit
    if (biased >= 2047) {
        *bits = INFINITY_BITS;
        return true;
    }
    *bits = (static_cast<std::uint64_t>(biased) << 52) | (mantissa & ((std::uint64_t{1} << 52) - 1));
    return true;
}

}  // namespace

NumberStatus parseDecimal(const char* begin, const char* end, double* value) {
    const char* p = begin;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';

    /* Mantissa: digits, an optional point, digits; one digit at least. */
    const char* mantissaBegin = p;
    while (p < end && isDigit(*p)) p++;
    long long integerDigits = p - mantissaBegin;
    long long fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        while (p < end && isDigit(*p)) p++;
        fractionDigits = p - fraction;
    }
    const char* mantissaEnd = p;
    if (integerDigits + fractionDigits == 0) return NumberStatus::Malformed;

    /* Exponent, held below 10^9 (far beyond any that leaves a finite
       non-zero double). */
    long long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        p++;
        bool exponentNegative = false;
        if (p < end && (*p == '+' || *p == '-')) exponentNegative = *p++ == '-';
        if (p == end || !isDigit(*p)) return NumberStatus::Malformed;
        for (; p < end && isDigit(*p); p++)
            if (exponent < 1000000000) exponent = exponent * 10 + (*p - '0');
        if (exponentNegative) exponent = -exponent;
    }
    if (p != end) return NumberStatus::Malformed;

    /* The significant digits: from the first that is not zero. */
    const char* first = mantissaBegin;
    while (first < mantissaEnd && (*first == '0' || *first == '.')) first++;
    std::uint64_t bits = 0;
    if (first < mantissaEnd) {
        std::uint64_t w = 0;
        int taken = 0;
        long long digits = 0;
        bool restNonZero = false;
        for (const char* d = first; d < mantissaEnd; d++) {
            if (*d == '.') continue;
            digits++;
            if (taken < FAST_DIGITS) {
                w = w * 10u + static_cast<std::uint64_t>(*d - '0');
                taken++;
            } else if (*d != '0') {
                restNonZero = true;
            }
        }
        /* The number is D 10^(exponent - fractionDigits), D of `digits`
           digits; w 10^q is D cut to its first `taken` digits. */
        long long lastDigitExponent = exponent - fractionDigits;
        long long q = lastDigitExponent + (digits - taken);
        bool decided = false;
        if (q > MAX_POWER_OF_FIVE) {
            bits = INFINITY_BITS;
            decided = true;
        } else if (q < MIN_POWER_OF_FIVE) {
            bits = 0;
            decided = true;
        } else if (roundFast(w, static_cast<int>(q), &bits)) {
            /* Digits left out: the number lies between w 10^q and
               (w + 1) 10^q; if both round alike, so does the number. */
            std::uint64_t upperBits = 0;
            decided = !restNonZero || (roundFast(w + 1, static_cast<int>(q), &upperBits) && upperBits == bits);
        }
        if (!decided) roundDecimalExactly(first, mantissaEnd, lastDigitExponent, &bits);
        if (bits == INFINITY_BITS) return NumberStatus::OutOfRange;
    }
    if (negative) bits |= std::uint64_t{1} << 63;
    std::memcpy(value, &bits, sizeof bits);
    return NumberStatus::Ok;
}

}  // namespace geoharm
