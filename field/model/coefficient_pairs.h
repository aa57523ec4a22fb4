/*
 * coefficient_pairs.h - the model's coefficients laid out for the paired
 * (SSE2) evaluation: for every term (n, m) the signed pairs that multiply a
 * pair (V, W) or its swap (W, V) of degree n+1, so that one two-lane
 * multiplication forms the products the x and y sums need side by side;
 * and for the z sum the coefficients of two orders side by side.
 *
 * Negation is exact and (-C) V = -(C V) to the last bit, so the pairs carry
 * the signs of the sums below into the products without changing any
 * rounding:
 *
 *   x lane:  -(C Vp) - S Wp  =  (-C) Vp + (-S) Wp
 *   y lane:    S Vp  - C Wp  =  (-C) Wp +   S  Vp      (a + b = b + a)
 *   x lane:    C Vm  + S Wm  =    C  Vm +   S  Wm
 *   y lane:    S Vm  - C Wm  =  (-C) Wm +   S  Vm
 *   z:       -(C Vz) - S Wz  =  (-C) Vz -   S  Wz
 *
 * (a - b equals a + (-b) in IEEE arithmetic, signed zeros included.)
 * The table is built at compile time from COEF_C, COEF_S and FAC and is
 * defined beside them; entries with m > n or n < 1 are zero and never read.
 */
#ifndef GEOHARM_COEFFICIENT_PAIRS_H
#define GEOHARM_COEFFICIENT_PAIRS_H

#include "model/coefficient_tables.h"

namespace geoharm {

/* Two doubles as one 16-byte aligned SSE2 operand (lo = lane 0). */
struct alignas(16) DoublePair {
    double lo, hi;
};

/* The constants of one term (n, m) for the x and y sums. */
struct TermPairs {
    DoublePair negCnegC; /* (-C, -C)  times (Vp, Wp); also m = 0 with (V, W)(n+1,1) */
    DoublePair negSposS; /* (-S,  S)  times (Wp, Vp) */
    DoublePair posCnegC; /* ( C, -C)  times (Vm, Wm) */
    DoublePair posSposS; /* ( S,  S)  times (Wm, Vm) */
    DoublePair facFac;   /* (F, F), F = FAC(n,m) (zero for m = 0) */
};

/* The constants of the z terms of two orders m, m+1 (m even) side by side:
   lane 0 for m, lane 1 for m+1 (zero beyond m = n, never used). */
struct ZPairs {
    DoublePair negC;   /* (-C(n,m), -C(n,m+1)) */
    DoublePair posS;   /* ( S(n,m),  S(n,m+1)) */
    DoublePair weight; /* (n-m+1, n-m) */
};

struct CoefficientPairs {
    TermPairs term[COEF_DIM][COEF_DIM];      /* [n][m] */
    ZPairs z[COEF_DIM][(COEF_DIM + 1) / 2]; /* [n][m/2] */
};

/* Builds the table from the model's tables (used once, at compile time). */
constexpr CoefficientPairs makeCoefficientPairs(const double (&c)[COEF_DIM * COEF_DIM],
                                                const double (&s)[COEF_DIM * COEF_DIM],
                                                const double (&f)[FAC_DIM * FAC_DIM]) {
    CoefficientPairs p{};
    for (int n = 1; n < COEF_DIM; n++) {
        for (int m = 0; m <= n; m++) {
            const double C = c[n + COEF_DIM * m];
            const double S = s[n + COEF_DIM * m];
            const double F = m == 0 ? 0.0 : f[(n - 1) + FAC_DIM * (m - 1)];
            const double w = static_cast<double>(n - m + 1);
            TermPairs& t = p.term[n][m];
            t.negCnegC = {-C, -C};
            t.negSposS = {-S, S};
            t.posCnegC = {C, -C};
            t.posSposS = {S, S};
            t.facFac = {F, F};
            ZPairs& z = p.z[n][m / 2];
            if (m % 2 == 0) {
                z.negC.lo = -C;
                z.posS.lo = S;
                z.weight.lo = w;
            } else {
                z.negC.hi = -C;
                z.posS.hi = S;
                z.weight.hi = w;
            }
        }
    }
    return p;
}

extern const CoefficientPairs COEF_PAIRS;

}  // namespace geoharm

#endif
