/*
 * coefficient_quads.h - the model's coefficients laid out for the 256-bit
 * (AVX) evaluation, where one register holds two entries (V, W) of one
 * degree side by side:  (V(k,j), W(k,j), V(k,j+1), W(k,j+1)).
 *
 * x and y terms: two orders m, m+1 (m odd) per register, each half the
 * signed pairs of the 128-bit layout (coefficient_pairs.h), so that
 *
 *   half 0:  (-(C Vp) - S Wp,  S Vp - C Wp)  and  (C Vm + S Wm,  S Vm - C Wm)
 *            of order m, half 1 the same of order m+1,
 *
 * with (-C) V = -(C V) and a - b = a + (-b) exact, as there.
 *
 * z terms: four orders m..m+3 (m a multiple of 4) per register, in the
 * lane order (m, m+2, m+1, m+3) that unpacking two such registers gives:
 * unpacklo((V_m, W_m, V_m+1, W_m+1), (V_m+2, W_m+2, V_m+3, W_m+3)) is
 * (V_m, V_m+2, V_m+1, V_m+3).
 *
 * Orders above the degree hold zeros; their lanes are computed and never
 * added.  The table is built at compile time from COEF_C, COEF_S and FAC.
 */
#ifndef GEOHARM_COEFFICIENT_QUADS_H
#define GEOHARM_COEFFICIENT_QUADS_H

#include "model/coefficient_tables.h"

namespace geoharm {

/* Four doubles as one 32-byte aligned AVX operand (v[0] = lane 0). */
struct alignas(32) DoubleQuad {
    double v[4];
};

/* x and y constants of the orders m, m+1 (m odd) of one degree. */
struct TermQuads {
    DoubleQuad negCnegC; /* (-C, -C) per order, times (Vp, Wp) */
    DoubleQuad negSposS; /* (-S,  S) per order, times (Wp, Vp) */
    DoubleQuad posCnegC; /* ( C, -C) per order, times (Vm, Wm) */
    DoubleQuad posSposS; /* ( S,  S) per order, times (Wm, Vm) */
    DoubleQuad facFac;   /* (F, F) per order, F = FAC(n,m) */
};

/* z constants of the orders m..m+3 (m a multiple of 4), lanes (m, m+2,
   m+1, m+3). */
struct ZQuads {
    DoubleQuad negC;   /* -C(n,m) */
    DoubleQuad posS;   /*  S(n,m) */
    DoubleQuad weight; /* n-m+1 */
};

/* Order pairs (1,2), (3,4), .., (9,10) and the unused (11,12). */
constexpr int TERM_QUADS = (COEF_DIM + 1) / 2;
/* Order quads 0..3, 4..7, 8..11. */
constexpr int Z_QUADS = (COEF_DIM + 3) / 4;

struct CoefficientQuads {
    TermQuads term[COEF_DIM][TERM_QUADS]; /* [n][(m-1)/2] */
    double negC0[COEF_DIM];                /* -C(n,0), the x, y terms of order 0 */
    ZQuads z[COEF_DIM][Z_QUADS];           /* [n][m/4] */
};

/* Lane of order m within its z quad: m, m+2, m+1, m+3 -> 0, 1, 2, 3. */
constexpr int zLane(int m) { return (m % 2) * 2 + (m % 4) / 2; }

/* Builds the table from the model's tables (used once, at compile time). */
constexpr CoefficientQuads makeCoefficientQuads(const double (&c)[COEF_DIM * COEF_DIM],
                                                const double (&s)[COEF_DIM * COEF_DIM],
                                                const double (&f)[FAC_DIM * FAC_DIM]) {
    CoefficientQuads q{};
    for (int n = 1; n < COEF_DIM; n++) {
        q.negC0[n] = -c[n];
        for (int m = 0; m <= n; m++) {
            const double C = c[n + COEF_DIM * m];
            const double S = s[n + COEF_DIM * m];
            if (m >= 1) {
                const double F = f[(n - 1) + FAC_DIM * (m - 1)];
                TermQuads& t = q.term[n][(m - 1) / 2];
                const int h = 2 * ((m - 1) % 2); /* first lane of the order's half */
                t.negCnegC.v[h] = -C;
                t.negCnegC.v[h + 1] = -C;
                t.negSposS.v[h] = -S;
                t.negSposS.v[h + 1] = S;
                t.posCnegC.v[h] = C;
                t.posCnegC.v[h + 1] = -C;
                t.posSposS.v[h] = S;
                t.posSposS.v[h + 1] = S;
                t.facFac.v[h] = F;
                t.facFac.v[h + 1] = F;
            }
            ZQuads& z = q.z[n][m / 4];
            const int l = zLane(m % 4);
            z.negC.v[l] = -C;
            z.posS.v[l] = S;
            z.weight.v[l] = static_cast<double>(n - m + 1);
        }
    }
    return q;
}

extern const CoefficientQuads COEF_QUADS;

}  // namespace geoharm

#endif
