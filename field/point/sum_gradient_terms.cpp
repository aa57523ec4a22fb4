/*
 * sum_gradient_terms.cpp - the gradient tensor T(i,j) = d a_i / d x_j and
 * the potential U (a = grad U) of the unnormalised harmonic expansion,
 * from the solid harmonics V, W of fillHarmonicArrays.
 *
 * The potential.  U = GM/r + (GM/R) sum over n = 2..N, m = 0..min(n,M) of
 *
 *   C(n,m) V(n,m) + S(n,m) W(n,m)
 *
 * (V(0,0) = R/r is the point mass, which central_tensor.h adds as GM/r).
 *
 * Derivatives.  Write Z(n,m) = V(n,m) + i W(n,m) and the complex
 * operators D+ = R (d/dx + i d/dy), D- = R (d/dx - i d/dy), Dz = R d/dz.
 * The relations behind the acceleration's sums (sum_harmonic_terms.cpp),
 * combined, read
 *
 *   D+ Z(n,m) = -Z(n+1,m+1)
 *   D- Z(n,m) = (n-m+2)(n-m+1) Z(n+1,m-1)
 *   Dz Z(n,m) = -(n-m+1) Z(n+1,m)
 *
 * where a function of negative order stands for
 *
 *   Z(n,-p) = (-1)^p (n-p)!/(n+p)! conj Z(n,p),
 *
 * which makes the second relation hold at m = 0 as well (D- Z(n,0) =
 * -conj Z(n+1,1), the zonal x and y terms of the acceleration).  Applying
 * them twice, with k = n-m, a1 = k+1, a2 = a1 (k+2), a3 = a2 (k+3),
 * a4 = a3 (k+4):
 *
 *   D+ D+ Z = Z(n+2,m+2)            D- D- Z = a4 Z(n+2,m-2)
 *   D+ D- Z = -a2 Z(n+2,m)          Dz Dz Z = a2 Z(n+2,m)
 *   D+ Dz Z = a1 Z(n+2,m+1)         D- Dz Z = -a3 Z(n+2,m-1)
 *
 * (D+ D- + Dz Dz = 0: the functions are harmonic.)  With d/dx = (D+ + D-)/2R
 * and d/dy = (D+ - D-)/2iR the Cartesian second derivatives of Z are, in
 * units of 1/R^2,
 *
 *   xx =  (Z(n+2,m+2) - 2 a2 Z(n+2,m) + a4 Z(n+2,m-2)) / 4
 *   yy = -(Z(n+2,m+2) + 2 a2 Z(n+2,m) + a4 Z(n+2,m-2)) / 4
 *   zz =  a2 Z(n+2,m)
 *   xy = -i (Z(n+2,m+2) - a4 Z(n+2,m-2)) / 4
 *   xz =  (a1 Z(n+2,m+1) - a3 Z(n+2,m-1)) / 2
 *   yz = -i (a1 Z(n+2,m+1) + a3 Z(n+2,m-1)) / 2
 *
 * and the term's contribution is the real part of (C - iS) times them:
 * for a weight b (real) on Z = V + iW it is b (C V + S W), for a weight
 * i b it is b (S V - C W); on a function of negative order the W part
 * changes sign (conjugation).  The negative orders occur only for m = 0
 * and 1, and each time the weight times the factorial ratio is an
 * integer: a4 Z(n+2,-2) = conj Z(n+2,2) (m = 0), a4 Z(n+2,-1) =
 * -n(n+1) conj Z(n+2,1) (m = 1), a3 Z(n+2,-1) = -(n+1) conj Z(n+2,1)
 * (m = 0).  The tensor is GM/R^3 times the sum over the terms; the trace
 * xx + yy + zz is zero term by term.
 *
 * Summation.  Each function Z(n+2,j) is read by the terms of orders j-2
 * .. j+2; gradient_coefficients.h adds their weights times C and S into
 * one factor per function and entry, cV(e) for V and cW(e) for W (the
 * variant for mt = min(n,M) - j, which leaves out the terms above mt).
 * Then, for each entry e, two accumulators:
 *
 *   tV(e) = sum over n = 2..N (ascending), j = 0..mt+2 (ascending) of
 *           cV(e) V(n+2,j)
 *   tW(e) = the same sum of cW(e) W(n+2,j)
 *   T(e)  = (tV(e) + tW(e)) K3,          K3 = GM/R^3 rounded once
 *
 * and for the potential
 *
 *   uV = sum over n = 2..N, m = 0..mt of C(n,m) V(n,m)
 *   uW = the same sum of S(n,m) W(n,m)
 *   u  = (uV + uW) K0,                   K0 = GM/R rounded once
 *
 * each product and each sum rounded on its own, every accumulator
 * starting at +0.0 and taking its terms in exactly this order.  The V and
 * W parts run apart so that the vector routines can keep them side by side
 * in one register (V and W of one point in two lanes) or in two (one point
 * per lane): every routine performs these operations, so every routine
 * gives these bits.  The factors are formed once, at compile time, and the
 * functions of order 0 (W = 0) are multiplied like every other.
 *
 * References:
 *   Cunningham, L. E., 1970, "On the computation of the spherical harmonic
 *   terms needed during the numerical integration of the orbital motion of
 *   an artificial satellite", Celestial Mechanics 2, 207-216 (the first
 *   derivatives of V and W as functions of one degree more, which applied
 *   twice give the relations above).
 *
 *   Montenbruck, O., Gill, E., 2000, Satellite Orbits, Springer,
 *   Sect. 3.2.4-3.2.5 (the recursions, and the first derivatives in the
 *   form of sum_harmonic_terms.cpp).
 */
#include "point/gradient_sums.h"

#include "model/gradient_coefficients.h"

namespace geoharm {

void sumGradientTerms(int N, int M, const double V[HARMONIC_SIZE], const double W[HARMONIC_SIZE], double t[6],
                      double* u) {
    const int mTop = M < N ? M : N;
    double tV[T_ENTRIES] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double tW[T_ENTRIES] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double uV = 0.0;
    double uW = 0.0;

    for (int n = 2; n <= N; n++) {
        const int mt = n < mTop ? n : mTop;

        /* The potential's terms of degree n. */
        for (int m = 0; m <= mt; m++) {
            const DoublePair& cs = GRADIENT_COEFFICIENTS.cs[n][m];
            uV = uV + cs.lo * V[harmonicIndex(n, m)];
            uW = uW + cs.hi * W[harmonicIndex(n, m)];
        }

        /* The tensor: every function of degree n+2 that the terms of
           degree n read, with its combined factors. */
        for (int j = 0; j <= mt + 2; j++) {
            const GradientFunction& g = GRADIENT_COEFFICIENTS.f[n][gradientVariant(mt, j)][j];
            const double v = V[harmonicIndex(n + 2, j)];
            const double w = W[harmonicIndex(n + 2, j)];
            for (int e = 0; e < T_ENTRIES; e++) {
                tV[e] = tV[e] + g.c[2 * e] * v;
                tW[e] = tW[e] + g.c[2 * e + 1] * w;
            }
        }
    }

    for (int e = 0; e < T_ENTRIES; e++) t[e] = (tV[e] + tW[e]) * K3;
    *u = (uV + uW) * K0;
}

}  // namespace geoharm
