/*
 * unnormalized_factors.cpp - the factors F(n,m) of one degree.
 */
#include "models/unnormalized_factors.h"

#include <cmath>

namespace geoharm {

void unnormalizedFactors(int n, double* F) {
    /* ratio = significand 2^exponent = (n+m)!/(n-m)!, 1 for m = 0. */
    double significand = 0.5;
    int exponent = 1;
    for (int m = 0; m <= n; m++) {
        if (m > 0) {
            const double step = static_cast<double>(n + m) * static_cast<double>(n - m + 1);
            int e = 0;
            significand = std::frexp(significand * step, &e);
            exponent += e;
        }
        const double weight = (m == 0 ? 1.0 : 2.0) * (2.0 * n + 1.0);
        double q = significand / weight;
        int half = exponent;
        if (half % 2 != 0) {
            q = q * 2.0;
            half -= 1;
        }
        F[m] = std::ldexp(std::sqrt(q), half / 2);
    }
}

}  // namespace geoharm
