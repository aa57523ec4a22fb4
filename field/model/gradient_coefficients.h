/*
 * gradient_coefficients.h - the model's coefficients combined for the
 * gradient tensor and the potential: for every degree n and every function
 * V(n+2,j), W(n+2,j) the factors that function carries into each of the
 * six distinct tensor entries, summed over the terms (n,m) that read it.
 *
 * The second derivatives of the term C(n,m) V(n,m) + S(n,m) W(n,m) are
 * sums of the functions of degree n+2 and orders m-2 .. m+2 with integer
 * weights (the derivation: point/sum_gradient_terms.cpp).  Turned around,
 * the function of order j receives contributions from the terms of orders
 * j-2 .. j+2 (and, through the functions of negative order, the terms of
 * order 0 and 1 reach the functions of order 1 and 2 a second time).  The
 * table adds these contributions up once, at compile time, so that the
 * evaluation multiplies each function once per entry:
 *
 *   Tacc_e += cV(e) V(n+2,j),   TaccW_e += cW(e) W(n+2,j)
 *
 * Which terms take part depends on the largest order of the sums at that
 * degree, mt = min(n, M): a function of order j near the top misses the
 * terms above mt.  Only the distance d = mt - j matters, cut to -2..2
 * (d = 2: every neighbour present), so the table holds five variants per
 * function.
 *
 * Each combined factor is formed in double at compile time, in a fixed
 * order (the terms m ascending, each contribution an exact integer times
 * C or S, rounded once, then scaled by 1/4 or 1/2, which is exact), so it
 * is the same double on every build.  Entries outside 2 <= n <= 10,
 * 0 <= j <= n+2 are zero and never read.
 */
#ifndef GEOHARM_GRADIENT_COEFFICIENTS_H
#define GEOHARM_GRADIENT_COEFFICIENTS_H

#include <cstdint>

#include "model/coefficient_pairs.h"
#include "model/coefficient_tables.h"

namespace geoharm {

/* The six distinct entries of the symmetric tensor, in the table's order
   (two per 256-bit register in the single-point AVX2 routine). */
enum GradientEntry : int { T_XX = 0, T_YY = 1, T_ZZ = 2, T_XY = 3, T_XZ = 4, T_YZ = 5, T_ENTRIES = 6 };

/* Variants per function: d = mt - j cut to -2..2, stored at d + 2. */
constexpr int GRADIENT_VARIANTS = 5;

/* The factors of one function for the six entries: c[2e] multiplies V,
   c[2e+1] multiplies W. */
struct alignas(32) GradientFunction {
    double c[2 * T_ENTRIES];
};

struct GradientCoefficients {
    /* [n][d+2][j], j = 0..HARMONIC_DIM-1: functions of one degree and one
       variant side by side, in the order the sums read them. */
    GradientFunction f[COEF_DIM][GRADIENT_VARIANTS][HARMONIC_DIM];
    /* (C(n,m), S(n,m)): the potential's term, times (V, W)(n,m). */
    DoublePair cs[COEF_DIM][COEF_DIM];
};

/* gradientVariant - the variant index of function j at a degree whose sums
   reach order mt. */
constexpr int gradientVariant(int mt, int j) {
    const int d = mt - j;
    return (d > 2 ? 2 : d < -2 ? -2 : d) + 2;
}

namespace gradient_table {

constexpr std::int64_t factorial(int k) {
    std::int64_t f = 1;
    for (int i = 2; i <= k; i++) f *= i;
    return f;
}

/* One contribution: an integer weight w over den (1, 2 or 4), real (times
   C in V, S in W) or imaginary (times S in V, -C in W), to function q of
   degree n+2 (q < 0: the function of order -q, conjugated). */
struct Weight {
    std::int64_t w;
    int den;
    bool imaginary;
    int q;
};

/* Adds the contribution of term (n, m) with coefficients C, S to the
   function of order j, if it reaches it.  Negative orders: Z(n',-p) =
   (-1)^p (n'-p)!/(n'+p)! conj Z(n',p); the weight times that ratio is an
   integer for every case that occurs (p = 1, 2 from m = 0, 1). */
constexpr void addWeight(GradientFunction& g, int e, const Weight& k, int n, int j, double C, double S) {
    const int p = k.q < 0 ? -k.q : k.q;
    if (p != j) return;
    std::int64_t w = k.w;
    bool conjugate = false;
    if (k.q < 0) {
        const std::int64_t num = factorial(n + 2 - p);
        const std::int64_t den = factorial(n + 2 + p);
        w = (p % 2 == 0 ? 1 : -1) * (w * num / den);
        conjugate = true;
    }
    const double scale = k.den == 4 ? 0.25 : k.den == 2 ? 0.5 : 1.0;
    const double ww = static_cast<double>(w);
    /* Re[(C - iS) beta Z], beta = w (real) or i w (imaginary), Z = V + iW;
       for a conjugated Z the W factor changes sign. */
    double cv = 0.0, cw = 0.0;
    if (!k.imaginary) {
        cv = ww * C;
        cw = ww * S;
    } else {
        cv = ww * S;
        cw = -(ww * C);
    }
    if (conjugate) cw = -cw;
    g.c[2 * e] = g.c[2 * e] + cv * scale;
    g.c[2 * e + 1] = g.c[2 * e + 1] + cw * scale;
}

/* The contributions of term (n, m) to function j, every entry. */
constexpr void addTerm(GradientFunction& g, int n, int m, int j, double C, double S) {
    const std::int64_t k = n - m;
    const std::int64_t a1 = k + 1;
    const std::int64_t a2 = a1 * (k + 2);
    const std::int64_t a3 = a2 * (k + 3);
    const std::int64_t a4 = a3 * (k + 4);
    /* xx = (Z(m+2) - 2 a2 Z(m) + a4 Z(m-2)) / 4 */
    addWeight(g, T_XX, {1, 4, false, m + 2}, n, j, C, S);
    addWeight(g, T_XX, {-2 * a2, 4, false, m}, n, j, C, S);
    addWeight(g, T_XX, {a4, 4, false, m - 2}, n, j, C, S);
    /* yy = -(Z(m+2) + 2 a2 Z(m) + a4 Z(m-2)) / 4 */
    addWeight(g, T_YY, {-1, 4, false, m + 2}, n, j, C, S);
    addWeight(g, T_YY, {-2 * a2, 4, false, m}, n, j, C, S);
    addWeight(g, T_YY, {-a4, 4, false, m - 2}, n, j, C, S);
    /* zz = a2 Z(m) */
    addWeight(g, T_ZZ, {a2, 1, false, m}, n, j, C, S);
    /* xy = -i (Z(m+2) - a4 Z(m-2)) / 4 */
    addWeight(g, T_XY, {-1, 4, true, m + 2}, n, j, C, S);
    addWeight(g, T_XY, {a4, 4, true, m - 2}, n, j, C, S);
    /* xz = (a1 Z(m+1) - a3 Z(m-1)) / 2 */
    addWeight(g, T_XZ, {a1, 2, false, m + 1}, n, j, C, S);
    addWeight(g, T_XZ, {-a3, 2, false, m - 1}, n, j, C, S);
    /* yz = -i (a1 Z(m+1) + a3 Z(m-1)) / 2 */
    addWeight(g, T_YZ, {-a1, 2, true, m + 1}, n, j, C, S);
    addWeight(g, T_YZ, {-a3, 2, true, m - 1}, n, j, C, S);
}

}  // namespace gradient_table

/* Builds the table from the model's tables (used once, at compile time). */
constexpr GradientCoefficients makeGradientCoefficients(const double (&c)[COEF_DIM * COEF_DIM],
                                                        const double (&s)[COEF_DIM * COEF_DIM]) {
    GradientCoefficients t{};
    for (int n = 0; n < COEF_DIM; n++)
        for (int m = 0; m <= n; m++) t.cs[n][m] = {c[n + COEF_DIM * m], s[n + COEF_DIM * m]};
    for (int n = 2; n < COEF_DIM; n++) {
        for (int v = 0; v < GRADIENT_VARIANTS; v++) {
            for (int j = 0; j <= n + 2; j++) {
                /* The terms that reach function j: orders j-2 .. j+2, at
                   least 0, at most mt = j + d (every one for d = 2) and n. */
                const int d = v - 2;
                const int top = d == 2 ? j + 2 : j + d;
                for (int m = j - 2 < 0 ? 0 : j - 2; m <= j + 2 && m <= top && m <= n; m++)
                    gradient_table::addTerm(t.f[n][v][j], n, m, j, c[n + COEF_DIM * m], s[n + COEF_DIM * m]);
            }
        }
    }
    return t;
}

extern const GradientCoefficients GRADIENT_COEFFICIENTS;

}  // namespace geoharm

#endif
