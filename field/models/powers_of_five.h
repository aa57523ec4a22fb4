/*
 * powers_of_five.h - 5^q to 128 bits, for q = -342 .. 308: the table of
 * the decimal reader's fast path (decimal_number.cpp).
 *
 * Entry q - MIN_POWER_OF_FIVE holds (hi, lo, exp2) with
 *
 *     T = hi 2^64 + lo,   2^127 <= T < 2^128,   T = floor(5^q 2^-exp2),
 *
 * so that T <= 5^q 2^-exp2 < T + 1: the table never overstates a power,
 * and understates it by less than one unit of T's last bit.  For
 * 0 <= q <= 55 the power fits in 128 bits and T is exact.
 *
 * The entries are computed by the compiler from exact integer arithmetic
 * (powers_of_five.cpp): no decimal constant to mistype, the same table on
 * every build.
 */
#ifndef GEOHARM_MODELS_POWERS_OF_FIVE_H
#define GEOHARM_MODELS_POWERS_OF_FIVE_H

#include <cstdint>

namespace geoharm {

/* The range of q: below, w 10^q < 2.5e-324 rounds to zero for every
   19-digit w; above, w 10^q >= 1e309 overflows for every w >= 1. */
constexpr int MIN_POWER_OF_FIVE = -342;
constexpr int MAX_POWER_OF_FIVE = 308;
constexpr int POWERS_OF_FIVE_COUNT = MAX_POWER_OF_FIVE - MIN_POWER_OF_FIVE + 1;

struct PowerOfFive {
    std::uint64_t hi;
    std::uint64_t lo;
    int exp2;
};

struct PowersOfFive {
    PowerOfFive entry[POWERS_OF_FIVE_COUNT];
};

extern const PowersOfFive POWERS_OF_FIVE;

}  // namespace geoharm

#endif
