/*
 * lane_kernel.h - the whole evaluation (scalars, recursion of the harmonic
 * functions, harmonic sums, central term) for several points at once, one
 * point per lane of a vector register: the many-point acceleration of
 * every level, instantiated by lanes.cpp with the level's lane type
 * (kernels/level_lanes.h).
 *
 * Every lane performs on its own point the operations of
 * computeFieldScalars, fillHarmonicArrays, sumHarmonicTerms and
 * addCentralTerm, each rounded on its own, with the same operands and
 * grouping, each accumulator taking its terms in the same order (degree
 * outer, order inner): a vector instruction is that operation in every
 * lane, so every lane has the single-point bits.  Only the time at which
 * independent work is issued changes:
 *
 *   - The terms of degree n read row n+1 of the functions alone; they are
 *     added after row n+2 is made, so that the divisions of a row overlap
 *     the terms of the row before.
 *   - The factors (2k-1) z0 and i rho are formed once and used wherever
 *     the plain code forms the same product (the same double each time).
 *   - Functions of orders above min(M, N) + 1, which the sums never read,
 *     are not made.
 *
 * The loops over degree and order run at run time on functions kept in
 * arrays (a few kilobytes, in the first-level cache): fully unrolled, the
 * code of degree 10 is some 25 kilobytes per routine, and it ran slower
 * (docs/performance.md).
 *
 * Exact shortcuts, each the same double as the written operation:
 *   - t/2, t/4, t/8 as t*0.5, t*0.25, t*0.125 (the same real number, so the
 *     same rounding, subnormal, infinite and NaN results included);
 *   - 1 t as t (diagonal of order 1, z weight n-m+1 = 1 at m = n);
 *   - F p as p + p where F = FAC(n,n) = 2 (both are 2p rounded once);
 *   - -(C V) as (-C) V (rounding to nearest is symmetric), the negated
 *     constant from the table.
 * Nothing else is left out: the degree-1 terms (zero coefficients) and the
 * products S(n,0) W(n+1,0) (both zero) are formed and added, since 0 times
 * an infinite or NaN value is NaN and must reach the sums.
 *
 * Everything lives in the namespace of the level it is built for
 * (machine/level_functions.h): no copy built for one instruction set can
 * be picked by the linker for another.
 *
 * References: Cunningham (1970); Montenbruck and Gill (2000), Sect.
 * 3.2.4-3.2.5 (in full: point/fill_harmonic_arrays.cpp,
 * point/sum_harmonic_terms.cpp).
 */
#ifndef GEOHARM_LANE_KERNEL_H
#define GEOHARM_LANE_KERNEL_H

#include <cstddef>

#include "kernels/lane_divide.h"
#include "machine/default_nan.h"
#include "machine/level_functions.h"
#include "model/coefficient_pairs.h"
#include "model/field_constants.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/* LaneFunctions - the lanes' harmonic functions [degree][order] and the
   factors of their recursion: A[k] = (2k-1) z0 (row k's, also the
   sub-diagonal's (2m+1) z0 with m = k-1), B[i] = i rho (i = n+m-1). */
template <class L>
struct LaneFunctions {
    using V = typename L::V;
    V A[HARMONIC_DIM];
    V B[2 * HARMONIC_DIM];
    V Vf[HARMONIC_DIM][HARMONIC_DIM];
    V Wf[HARMONIC_DIM][HARMONIC_DIM];
};

/* laneSeedFunctions - A[2..kTop], B[1..iTop] and the seeds: V(0,0) = R/r,
   V(1,0) = z0 V(0,0), W(0,0) = W(1,0) = +0.0, and the diagonal (1,1),
   whose factor 2m-1 is 1. */
template <class L>
inline __attribute__((always_inline)) void laneSeedFunctions(LaneFunctions<L>& f, const typename L::V r,
                                                             const typename L::V rho, const typename L::V x0,
                                                             const typename L::V y0, const typename L::V z0,
                                                             const int kTop, const int iTop) {
    for (int k = 2; k <= kTop; k++) f.A[k] = L::set1(SMALL_INTEGERS[2 * k - 1]) * z0;
    for (int i = 1; i <= iTop; i++) f.B[i] = L::set1(SMALL_INTEGERS[i]) * rho;
    f.Vf[0][0] = L::set1(R_REF) / r;
    f.Wf[0][0] = L::set1(0.0);
    f.Vf[1][0] = z0 * f.Vf[0][0];
    f.Wf[1][0] = L::set1(0.0);
    f.Vf[1][1] = x0 * f.Vf[0][0] - y0 * f.Wf[0][0];
    f.Wf[1][1] = x0 * f.Wf[0][0] + y0 * f.Vf[0][0];
}

/* laneFunctionRow - row k >= 2, orders 0..min(k, jTop), from rows k-1 and
   k-2 (A[k], B up to k+min(k-2, jTop)-1 set). */
template <class L>
inline __attribute__((always_inline)) void laneFunctionRow(LaneFunctions<L>& f, const int k, const int jTop,
                                                           const typename L::V x0, const typename L::V y0) {
    using V = typename L::V;
    /* Zonal: V(k,0) = ((2k-1) z0 V(k-1,0) - (k-1) rho V(k-2,0)) / k. */
    f.Vf[k][0] = laneDivide<L>(f.A[k] * f.Vf[k - 1][0] - f.B[k - 1] * f.Vf[k - 2][0], k);
    f.Wf[k][0] = L::set1(0.0);

    /* Columns: (V,W)(k,j) = ((2k-1) z0 (V,W)(k-1,j)
       - (k+j-1) rho (V,W)(k-2,j)) / (k-j), 1 <= j <= min(k-2, jTop). */
    const int jEnd = k - 2 < jTop ? k - 2 : jTop;
    for (int j = 1; j <= jEnd; j++) {
        f.Vf[k][j] = laneDivide<L>(f.A[k] * f.Vf[k - 1][j] - f.B[k + j - 1] * f.Vf[k - 2][j], k - j);
        f.Wf[k][j] = laneDivide<L>(f.A[k] * f.Wf[k - 1][j] - f.B[k + j - 1] * f.Wf[k - 2][j], k - j);
    }

    /* Sub-diagonal: (V,W)(k,k-1) = ((2k-1) z0) (V,W)(k-1,k-1). */
    if (k - 1 <= jTop) {
        f.Vf[k][k - 1] = f.A[k] * f.Vf[k - 1][k - 1];
        f.Wf[k][k - 1] = f.A[k] * f.Wf[k - 1][k - 1];
    }

    /* Diagonal: V(k,k) = (2k-1) (x0 V - y0 W)(k-1,k-1),
       W(k,k) = (2k-1) (x0 W + y0 V)(k-1,k-1). */
    if (k <= jTop) {
        const V c = L::set1(SMALL_INTEGERS[2 * k - 1]);
        f.Vf[k][k] = c * (x0 * f.Vf[k - 1][k - 1] - y0 * f.Wf[k - 1][k - 1]);
        f.Wf[k][k] = c * (x0 * f.Wf[k - 1][k - 1] + y0 * f.Vf[k - 1][k - 1]);
    }
}

/* laneAccelerationTerms - the terms of degree n (1..MAX_DEGREE), order
   ascending 0..min(n, mTop), from row n+1 (Vn, Wn), added to ax, ay, az. */
template <class L>
inline __attribute__((always_inline)) void laneAccelerationTerms(const int n, const int mTop, const typename L::V* Vn,
                                                                 const typename L::V* Wn, typename L::V& ax,
                                                                 typename L::V& ay, typename L::V& az) {
    using V = typename L::V;
    const V k1 = L::set1(K1);
    const V k2 = L::set1(K2);
    const TermPairs* tc = COEF_PAIRS.term[n];
    const int mEnd = n < mTop ? n : mTop;

    /* m = 0, x and y: ax - (C V(n+1,1)) K1, ay - (C W(n+1,1)) K1. */
    const V c0 = L::set1(tc[0].posCnegC.lo);
    ax = ax - (c0 * Vn[1]) * k1;
    ay = ay - (c0 * Wn[1]) * k1;

    /* m = 0, z: az + ((n+1) (-(C V(n+1,0)) - S W(n+1,0))) K1. */
    const V dz0 = L::set1(tc[0].negCnegC.lo) * Vn[0] - L::set1(tc[0].posSposS.lo) * Wn[0];
    az = az + (L::set1(SMALL_INTEGERS[n + 1]) * dz0) * k1;

    for (int m = 1; m <= mEnd; m++) {
        const TermPairs& t = tc[m];
        const V C = L::set1(t.posCnegC.lo);
        const V negC = L::set1(t.negCnegC.lo);
        const V S = L::set1(t.posSposS.lo);
        const V Vp = Vn[m + 1], Wp = Wn[m + 1], Vm = Vn[m - 1], Wm = Wn[m - 1];

        /* ax + ((-(C Vp) - S Wp) + (C Vm + S Wm) F) K2 */
        const V px = negC * Vp - S * Wp;
        const V qx = C * Vm + S * Wm;
        /* ay + ((S Vp - C Wp) + F (S Vm - C Wm)) K2 */
        const V py = S * Vp - C * Wp;
        const V qy = S * Vm - C * Wm;
        if (m == n) {
            /* F = FAC(n,n) = 2: 2 q = q + q exactly. */
            ax = ax + (px + (qx + qx)) * k2;
            ay = ay + (py + (qy + qy)) * k2;
        } else {
            const V F = L::set1(t.facFac.lo);
            ax = ax + (px + qx * F) * k2;
            ay = ay + (py + F * qy) * k2;
        }

        /* z: az + ((n-m+1) (-(C V(n+1,m)) - S W(n+1,m))) K1; weight 1 at m = n. */
        const V dz = negC * Vn[m] - S * Wn[m];
        az = az + (m == n ? dz : L::set1(SMALL_INTEGERS[n - m + 1]) * dz) * k1;
    }
}

/* laneHarmonicSums - the harmonic sums of degree 1..N = 1..MAX_DEGREE and
   order 0..min(n, mTop), mTop = min(M, N), added to ax, ay, az (+0.0 on
   entry), for the lanes' scalars r, rho, x0, y0, z0. */
template <class L>
inline __attribute__((always_inline)) void laneHarmonicSums(const typename L::V r, const typename L::V rho,
                                                            const typename L::V x0, const typename L::V y0,
                                                            const typename L::V z0, const int N, const int mTop,
                                                            typename L::V& ax, typename L::V& ay,
                                                            typename L::V& az) {
    /* Highest order of the functions the sums read (order m+1 of order m).
       Factors: A up to row N+1, B up to N (zonal) and k+j-1 <= 2N-1
       (k <= N+1, j <= k-2). */
    const int jTop = mTop + 1;
    LaneFunctions<L> f;
    laneSeedFunctions<L>(f, r, rho, x0, y0, z0, N + 1, 2 * N - 1);

    /* Pass k makes row k, then adds the terms of degree k-2 (row k-1). */
    for (int k = 2; k <= N + 2; k++) {
        if (k <= N + 1) laneFunctionRow<L>(f, k, jTop, x0, y0);
        if (k >= 3) laneAccelerationTerms<L>(k - 2, mTop, f.Vf[k - 1], f.Wf[k - 1], ax, ay, az);
    }
}

/* laneGroup - the acceleration at L::WIDTH points, one per lane: point i
   (x[i], y[i], z[i]) (m) to ax[i], ay[i], az[i] (m/s^2).  N, M clamped to
   the model; N <= 0 or M < 0: the central term alone. */
template <class L>
void laneGroup(const double* px, const double* py, const double* pz, const int N, const int M, double* pax,
               double* pay, double* paz) {
    using V = typename L::V;
    const V x = L::load(px);
    const V y = L::load(py);
    const V z = L::load(pz);

    /* Scalars as computeFieldScalars. */
    const V r = L::sqrt((x * x + y * y) + z * z);
    const V s = r * r;
    const V gmr2 = L::set1(GM) / s;

    /* Non-central part, +0.0 where there is no term. */
    V ax = L::set1(0.0), ay = ax, az = ax;
    if (N >= 1 && M >= 0) {
        const V q = L::set1(R_REF) / s;
        const V rho = L::set1(R_REF2) / s;
        laneHarmonicSums<L>(r, rho, x * q, y * q, z * q, N, M < N ? M : N, ax, ay, az);
    }

    /* Central term, added last: a = sum - (gmr2 x) / r per axis; a NaN
       lane stored as the default NaN (default_nan.h). */
    L::store(pax, toDefaultNanLanes<L>(ax - (gmr2 * x) / r));
    L::store(pay, toDefaultNanLanes<L>(ay - (gmr2 * y) / r));
    L::store(paz, toDefaultNanLanes<L>(az - (gmr2 * z) / r));
}

/* evaluateLanes - the acceleration at count points, L::WIDTH at a time,
   the last ones with the last point repeated in the padding lanes (their
   results dropped).  N, M clamped by the caller; the caller's
   floating-point state. */
template <class L>
void evaluateLanes(const std::size_t count, const double* x, const double* y, const double* z, const int N,
                   const int M, double* ax, double* ay, double* az) {
    constexpr std::size_t W = L::WIDTH;
    std::size_t k = 0;
    for (; count - k >= W; k += W) laneGroup<L>(x + k, y + k, z + k, N, M, ax + k, ay + k, az + k);
    if (k == count) return;

    /* The last count - k < W points, padded. */
    const std::size_t rest = count - k;
    double in[3][W], out[3][W];
    for (std::size_t i = 0; i < W; i++) {
        const std::size_t from = k + (i < rest ? i : rest - 1);
        in[0][i] = x[from];
        in[1][i] = y[from];
        in[2][i] = z[from];
    }
    laneGroup<L>(in[0], in[1], in[2], N, M, out[0], out[1], out[2]);
    for (std::size_t i = 0; i < rest; i++) {
        ax[k + i] = out[0][i];
        ay[k + i] = out[1][i];
        az[k + i] = out[2][i];
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
