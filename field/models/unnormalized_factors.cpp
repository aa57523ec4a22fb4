/*
 * unnormalized_factors.cpp - the factors F(n,m) of one degree.
 */
#include "models/unnormalized_factors.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace geoharm {

namespace {

/* frexp and ldexp on the bits of a positive normal double: the C
   library's return their result through the x87 register st(0) on 32-bit
   x86.  Both are exact, as theirs are. */
constexpr int EXPONENT_SHIFT = 52;
constexpr std::uint64_t EXPONENT_FIELD = std::uint64_t{0x7ff} << EXPONENT_SHIFT;

/* v = returned * 2^*exponent, returned in [0.5, 1). */
double splitExponent(double v, int* exponent) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    *exponent = static_cast<int>((bits & EXPONENT_FIELD) >> EXPONENT_SHIFT) - 1022;
    bits = (bits & ~EXPONENT_FIELD) | (std::uint64_t{1022} << EXPONENT_SHIFT);
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

/* v * 2^k; +infinity above the largest double (never below the
   smallest normal one here: v is normal and k >= 0). */
double timesPowerOfTwo(double v, int k) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const long long biased = static_cast<long long>((bits & EXPONENT_FIELD) >> EXPONENT_SHIFT) + k;
    if (biased >= 0x7ff) return HUGE_VAL;
    bits = (bits & ~EXPONENT_FIELD) | (static_cast<std::uint64_t>(biased) << EXPONENT_SHIFT);
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace

void unnormalizedFactors(int n, double* F) {
    /* ratio = significand 2^exponent = (n+m)!/(n-m)!, 1 for m = 0. */
    double significand = 0.5;
    int exponent = 1;
    for (int m = 0; m <= n; m++) {
        if (m > 0) {
            const double step = static_cast<double>(n + m) * static_cast<double>(n - m + 1);
            int e = 0;
            significand = splitExponent(significand * step, &e);
            exponent += e;
        }
        const double weight = (m == 0 ? 1.0 : 2.0) * (2.0 * n + 1.0);
        double q = significand / weight;
        int half = exponent;
        if (half % 2 != 0) {
            q = q * 2.0;
            half -= 1;
        }
        F[m] = timesPowerOfTwo(std::sqrt(q), half / 2);
    }
}

}  // namespace geoharm
