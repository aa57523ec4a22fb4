/*
 * pair_gradient_kernel.h - the gradient tensor, the acceleration and the
 * potential at one point, with V(n,m) and W(n,m) side by side in the two
 * lanes of an SSE2 register: the one-point routines of
 * evaluate_gradient_sse2.cpp and evaluate_gradient_avx.cpp, which differ
 * only in how they hold the tensor's accumulators (the policy P).
 *
 * The operations are those of evaluateGradientPlain (and of the lane
 * kernel, gradient_lane_kernel.h), each rounded on its own, in the same
 * grouping, every accumulator taking its terms in the same order:
 *
 *   - One SSE2 instruction does the identical recursion steps of V and W;
 *     the zonal functions are made in both lanes and their W lane then set
 *     to +0.0, as the plain recursion sets it.
 *   - The tensor's and the potential's V and W parts are separate sums by
 *     definition (sum_gradient_terms.cpp), so one pair holds both:
 *     (tV, tW) += (cV, cW) (V, W).
 *   - The acceleration's terms are formed as fused_harmonic_sums_sse2.cpp
 *     forms them, each lane the plain operation by the exact identities
 *     listed there.
 *
 * The policy P provides TensorAcc (the tensor's accumulators),
 * zeroTensor(TensorAcc&), addTensor(TensorAcc&, const GradientFunction&,
 * __m128d vw) and finishTensor(const TensorAcc&, double t[6]) (t[e] =
 * (tV + tW) K3).  Everything lives in the namespace of the level the
 * including file is built for (machine/level_functions.h), so no code
 * built for one instruction set is shared with another.
 *
 * References: Cunningham (1970); Montenbruck and Gill (2000), Sect.
 * 3.2.4-3.2.5 (in full, with the second derivatives built on them:
 * sum_gradient_terms.cpp).
 */
#ifndef GEOHARM_PAIR_GRADIENT_KERNEL_H
#define GEOHARM_PAIR_GRADIENT_KERNEL_H

#include <emmintrin.h>

#include "kernels/central_tensor.h"
#include "kernels/lane_divide.h"
#include "kernels/scalar_lane.h"
#include "machine/level_functions.h"
#include "model/coefficient_pairs.h"
#include "model/field_limits.h"
#include "model/gradient_coefficients.h"
#include "point/field_scalars.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/* The SSE2 pair as a lane type, for laneDivide. */
struct Pair {
    using V = __m128d;
    static V set1(double v) { return _mm_set1_pd(v); }
};

/* The pair accumulators of one evaluation. */
template <class P>
struct PairGradientSums {
    __m128d axy;                  /* (ax, ay) */
    __m128d az;                   /* (az, -) */
    typename P::TensorAcc tensor; /* (tV, tW) of each entry, as P holds them */
    __m128d u;                    /* (uV, uW) */
};

template <class P>
inline __attribute__((always_inline)) __m128d pairLoad(const DoublePair& p) {
    return _mm_load_pd(&p.lo);
}

template <class P>
inline __attribute__((always_inline)) __m128d pairSwap(__m128d a) {
    return _mm_shuffle_pd(a, a, 1);
}

/*
 * pairAccelerationTerms - the acceleration's terms of degree n, order
 * ascending 0..min(n, mTop), from row n+1 of the functions (H).
 */
template <class P>
inline __attribute__((always_inline)) void pairAccelerationTerms(const int n, const int mTop, const __m128d* H,
                                                                 __m128d& axy, __m128d& az) {
    const __m128d k1 = _mm_set1_pd(K1);
    const __m128d k2 = _mm_set1_pd(K2);
    const TermPairs* tc = COEF_PAIRS.term[n];
    const ZPairs* zc = COEF_PAIRS.z[n];
    const int mEnd = n < mTop ? n : mTop;

    /* m = 0, x and y: ax - (C V(n+1,1)) K1, ay - (C W(n+1,1)) K1, with
       the negated coefficient. */
    axy = _mm_add_pd(axy, _mm_mul_pd(_mm_mul_pd(pairLoad<P>(tc[0].negCnegC), H[1]), k1));

    /* x and y, m >= 1: ((-(C Vp) - S Wp, S Vp - C Wp) + F (C Vm + S Wm,
       S Vm - C Wm)) K2; F = 2 at m = n, as p + p. */
    for (int m = 1; m <= mEnd; m++) {
        const TermPairs& t = tc[m];
        const __m128d p1 = _mm_add_pd(_mm_mul_pd(pairLoad<P>(t.negCnegC), H[m + 1]),
                                      _mm_mul_pd(pairLoad<P>(t.negSposS), pairSwap<P>(H[m + 1])));
        const __m128d p2 = _mm_add_pd(_mm_mul_pd(pairLoad<P>(t.posCnegC), H[m - 1]),
                                      _mm_mul_pd(pairLoad<P>(t.posSposS), pairSwap<P>(H[m - 1])));
        const __m128d p2f = m == n ? _mm_add_pd(p2, p2) : _mm_mul_pd(p2, pairLoad<P>(t.facFac));
        axy = _mm_add_pd(axy, _mm_mul_pd(_mm_add_pd(p1, p2f), k2));
    }

    /* z, every m: ((n-m+1) (-(C V(n+1,m)) - S W(n+1,m))) K1, two orders per
       instruction, added in ascending order; weight 1 at m = n. */
    int m = 0;
    for (; m + 1 <= mEnd; m += 2) {
        const ZPairs& z = zc[m / 2];
        const __m128d v = _mm_unpacklo_pd(H[m], H[m + 1]);
        const __m128d w = _mm_unpackhi_pd(H[m], H[m + 1]);
        const __m128d d = _mm_sub_pd(_mm_mul_pd(pairLoad<P>(z.negC), v), _mm_mul_pd(pairLoad<P>(z.posS), w));
        const __m128d t = _mm_mul_pd(_mm_mul_pd(pairLoad<P>(z.weight), d), k1);
        az = _mm_add_sd(az, t);
        az = _mm_add_sd(az, _mm_unpackhi_pd(t, t));
    }
    if (m == mEnd) {
        const ZPairs& z = zc[m / 2];
        const __m128d d =
            _mm_sub_sd(_mm_mul_sd(pairLoad<P>(z.negC), H[m]), _mm_mul_sd(pairLoad<P>(z.posS), pairSwap<P>(H[m])));
        const __m128d t = m == n ? d : _mm_mul_sd(pairLoad<P>(z.weight), d);
        az = _mm_add_sd(az, _mm_mul_sd(t, k1));
    }
}

/*
 * pairGradientSums - the recursion to degree N+2 and order mTop+2 and the
 * three harmonic sums, degree by degree (N = 1..MAX_DEGREE, mTop =
 * min(M, N)); every accumulator of s is +0.0 on entry.  Pass k makes row
 * k, then adds the acceleration's terms of degree k-2 (row k-1) and the
 * potential's (row k-2) and tensor's (row k) of degree k-2.
 */
template <class P>
inline __attribute__((always_inline)) void pairGradientSums(const FieldScalars& sc, const int N, const int mTop,
                                                            const bool wantA, const bool wantU,
                                                            PairGradientSums<P>& s) {
    const int jTop = mTop + 2;
    const __m128d z0 = _mm_set1_pd(sc.z0);
    const __m128d rho = _mm_set1_pd(sc.rho);
    const __m128d x0 = _mm_set1_pd(sc.x0);
    /* (-y0, y0): lane 0 subtracts, lane 1 adds y0 times the swapped pair. */
    const __m128d y0 = _mm_set_pd(sc.y0, -sc.y0);
    const __m128d zero = _mm_setzero_pd();

    /* A[k] = (2k-1) z0, B[i] = i rho, in both lanes. */
    __m128d A[HARMONIC_DIM];
    __m128d B[2 * HARMONIC_DIM];
    for (int k = 2; k <= N + 2; k++) A[k] = _mm_mul_pd(_mm_set1_pd(SMALL_INTEGERS[2 * k - 1]), z0);
    for (int i = 1; i <= 2 * N + 1; i++) B[i] = _mm_mul_pd(_mm_set1_pd(SMALL_INTEGERS[i]), rho);

    /* H[k][j] = (V(k,j), W(k,j)).  Seeds: V(0,0) = R/r, V(1,0) = z0 V(0,0),
       the diagonal (1,1) with factor 1. */
    __m128d H[HARMONIC_DIM][HARMONIC_DIM];
    const double v00 = R_REF / sc.r;
    H[0][0] = _mm_set_sd(v00);
    H[1][0] = _mm_set_sd(sc.z0 * v00);
    H[1][1] = _mm_add_pd(_mm_mul_pd(x0, H[0][0]), _mm_mul_pd(y0, pairSwap<P>(H[0][0])));

    for (int k = 2; k <= N + 2; k++) {
        /* Zonal: ((2k-1) z0 V(k-1,0) - (k-1) rho V(k-2,0)) / k, W = +0.0. */
        const __m128d zt = _mm_sub_pd(_mm_mul_pd(A[k], H[k - 1][0]), _mm_mul_pd(B[k - 1], H[k - 2][0]));
        H[k][0] = _mm_move_sd(zero, laneDivide<Pair>(zt, k));

        /* Columns, 1 <= j <= min(k-2, jTop). */
        const int jEnd = k - 2 < jTop ? k - 2 : jTop;
        for (int j = 1; j <= jEnd; j++) {
            const __m128d t = _mm_sub_pd(_mm_mul_pd(A[k], H[k - 1][j]), _mm_mul_pd(B[k + j - 1], H[k - 2][j]));
            H[k][j] = laneDivide<Pair>(t, k - j);
        }

        /* Sub-diagonal: ((2k-1) z0) (V,W)(k-1,k-1). */
        if (k - 1 <= jTop) H[k][k - 1] = _mm_mul_pd(A[k], H[k - 1][k - 1]);

        /* Diagonal: (2k-1) (x0 (V,W) + (-y0, y0) (W,V))(k-1,k-1). */
        if (k <= jTop) {
            const __m128d t =
                _mm_add_pd(_mm_mul_pd(x0, H[k - 1][k - 1]), _mm_mul_pd(y0, pairSwap<P>(H[k - 1][k - 1])));
            H[k][k] = _mm_mul_pd(_mm_set1_pd(SMALL_INTEGERS[2 * k - 1]), t);
        }

        if (wantA && k >= 3) pairAccelerationTerms<P>(k - 2, mTop, H[k - 1], s.axy, s.az);

        if (k >= 4) {
            const int n = k - 2;
            const int mt = n < mTop ? n : mTop;
            if (wantU) {
                for (int m = 0; m <= mt; m++)
                    s.u = _mm_add_pd(s.u, _mm_mul_pd(pairLoad<P>(GRADIENT_COEFFICIENTS.cs[n][m]), H[n][m]));
            }
            for (int j = 0; j <= mt + 2; j++)
                P::addTensor(s.tensor, GRADIENT_COEFFICIENTS.f[n][gradientVariant(mt, j)][j], H[k][j]);
        }
    }
}

/*
 * pairGradient - the whole evaluation of one point in the thread's
 * floating-point state (evaluateGradientUnguarded's contract; a and U may
 * be null: not wanted, not computed).
 */
template <class P>
inline void pairGradient(const FieldInput& in, double T[9], double a[3], double* U) {
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    PairGradientSums<P> s;
    s.axy = s.az = s.u = _mm_setzero_pd();
    P::zeroTensor(s.tensor);
    if (N >= 1 && M >= 0) pairGradientSums<P>(sc, N, M < N ? M : N, a != nullptr, U != nullptr, s);
    const bool harmonic = N >= 2 && M >= 0;

    /* Acceleration: the central term added last, as addCentralTerm (a NaN
       stored as the default NaN, default_nan.h, as everywhere below). */
    if (a != nullptr) {
        double axy[2];
        _mm_storeu_pd(axy, s.axy);
        a[0] = toDefaultNan(axy[0] - (sc.gmr2 * in.x) / sc.r);
        a[1] = toDefaultNan(axy[1] - (sc.gmr2 * in.y) / sc.r);
        a[2] = toDefaultNan(_mm_cvtsd_f64(s.az) - (sc.gmr2 * in.z) / sc.r);
    }

    /* Tensor: the harmonic part plus the point mass. */
    double t[T_ENTRIES];
    centralTensor<ScalarLane>(in.x, in.y, in.z, sc.r, sc.gmr2, t);
    if (harmonic) {
        double h[T_ENTRIES];
        P::finishTensor(s.tensor, h);
        for (int e = 0; e < T_ENTRIES; e++) t[e] = h[e] + t[e];
    }
    storeTensor(t, T);

    /* Potential: the harmonic part plus GM/r. */
    if (U != nullptr) {
        double u = centralPotential<ScalarLane>(sc.r);
        if (harmonic) {
            double uvw[2];
            _mm_storeu_pd(uvw, s.u);
            u = (uvw[0] + uvw[1]) * K0 + u;
        }
        *U = toDefaultNan(u);
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
