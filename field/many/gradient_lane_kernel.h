/*
 * gradient_lane_kernel.h - the gradient tensor, the acceleration and the
 * potential for several points at once, one point per lane: the
 * many-point gradient of every level, instantiated by gradient_lanes.cpp
 * with the level's lane type (kernels/level_lanes.h), in the level's
 * namespace.
 *
 * Every lane performs on its own point the operations that define the
 * results: computeFieldScalars; the rows of lane_kernel.h carried to
 * degree N+2 and order min(M, N)+2; the acceleration's terms as
 * sumHarmonicTerms and addCentralTerm form them; the tensor's and the
 * potential's sums in the order of sum_gradient_terms.cpp, V and W parts
 * apart; the point mass of central_tensor.h, added last.  Only the time
 * at which independent work is issued differs: pass k makes row k, then
 * adds the terms of degree k-2, the acceleration's from row k-1, the
 * potential's from row k-2, the tensor's from row k.
 *
 * References: Cunningham (1970); Montenbruck and Gill (2000), Sect.
 * 3.2.4-3.2.5 (in full, with the second derivatives built on them:
 * point/sum_gradient_terms.cpp).
 */
#ifndef GEOHARM_GRADIENT_LANE_KERNEL_H
#define GEOHARM_GRADIENT_LANE_KERNEL_H

#include <cstddef>

#include "kernels/central_tensor.h"
#include "many/lane_kernel.h"
#include "model/gradient_coefficients.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/* The accumulators of one group of lanes. */
template <class L>
struct LaneGradientSums {
    using V = typename L::V;
    V ax, ay, az;        /* acceleration, without the point mass */
    V tV[T_ENTRIES];     /* tensor, V parts (xx, yy, zz, xy, xz, yz) */
    V tW[T_ENTRIES];     /* tensor, W parts */
    V uV, uW;            /* potential, V and W parts */
};

/*
 * laneGradientSums - the harmonic sums of degree 1..N (acceleration) and
 * 2..N (tensor, potential), order 0..min(n, mTop), for the lanes' scalars
 * r, rho, x0, y0, z0; N = 1..MAX_DEGREE, mTop = min(M, N).  Every
 * accumulator of s is +0.0 on entry.  Without wantA or wantU the
 * acceleration's or the potential's terms are left out (their
 * accumulators stay +0.0; no other result changes).
 */
template <class L>
inline __attribute__((always_inline)) void laneGradientSums(const typename L::V r, const typename L::V rho,
                                                            const typename L::V x0, const typename L::V y0,
                                                            const typename L::V z0, const int N, const int mTop,
                                                            const bool wantA, const bool wantU,
                                                            LaneGradientSums<L>& s) {
    using V = typename L::V;
    /* Rows to N+2, orders to mTop+2: the tensor's terms of degree n read
       row n+2 up to order min(n, mTop)+2.  Factors: A up to row N+2, B up
       to k+j-1 <= 2N+1. */
    const int jTop = mTop + 2;
    LaneFunctions<L> f;
    laneSeedFunctions<L>(f, r, rho, x0, y0, z0, N + 2, 2 * N + 1);

    for (int k = 2; k <= N + 2; k++) {
        laneFunctionRow<L>(f, k, jTop, x0, y0);

        if (wantA && k >= 3) laneAccelerationTerms<L>(k - 2, mTop, f.Vf[k - 1], f.Wf[k - 1], s.ax, s.ay, s.az);

        if (k >= 4) {
            const int n = k - 2;
            const int mt = n < mTop ? n : mTop;

            if (wantU) {
                for (int m = 0; m <= mt; m++) {
                    const DoublePair& cs = GRADIENT_COEFFICIENTS.cs[n][m];
                    s.uV = s.uV + L::set1(cs.lo) * f.Vf[n][m];
                    s.uW = s.uW + L::set1(cs.hi) * f.Wf[n][m];
                }
            }

            /* The tensor: row n+2 with the combined factors. */
            for (int j = 0; j <= mt + 2; j++) {
                const GradientFunction& g = GRADIENT_COEFFICIENTS.f[n][gradientVariant(mt, j)][j];
                const V v = f.Vf[k][j];
                const V w = f.Wf[k][j];
#pragma GCC unroll 6
                for (int e = 0; e < T_ENTRIES; e++) {
                    s.tV[e] = s.tV[e] + L::set1(g.c[2 * e]) * v;
                    s.tW[e] = s.tW[e] + L::set1(g.c[2 * e + 1]) * w;
                }
            }
        }
    }
}

/*
 * gradientLaneGroup - the tensor, the acceleration and the potential at
 * L::WIDTH points, one per lane: point i is (x[i], y[i], z[i]) (m); its
 * tensor goes to T[9i .. 9i+8] (1/s^2), its acceleration to ax[i], ay[i],
 * az[i] (m/s^2), its potential to U[i] (m^2/s^2).  ax, ay, az (all three)
 * and U may be null: not wanted, not computed.  N, M clamped to the model.
 */
template <class L>
void gradientLaneGroup(const double* px, const double* py, const double* pz, const int N, const int M, double* T,
                       double* pax, double* pay, double* paz, double* pU) {
    using V = typename L::V;
    constexpr int W = L::WIDTH;
    const V x = L::load(px);
    const V y = L::load(py);
    const V z = L::load(pz);

    /* Scalars as computeFieldScalars. */
    const V r = L::sqrt((x * x + y * y) + z * z);
    const V s = r * r;
    const V gmr2 = L::set1(GM) / s;

    /* Harmonic sums, +0.0 where there is no term. */
    LaneGradientSums<L> sums;
    const V zero = L::set1(0.0);
    sums.ax = sums.ay = sums.az = sums.uV = sums.uW = zero;
    for (int e = 0; e < T_ENTRIES; e++) sums.tV[e] = sums.tW[e] = zero;
    if (N >= 1 && M >= 0) {
        const V q = L::set1(R_REF) / s;
        const V rho = L::set1(R_REF2) / s;
        laneGradientSums<L>(r, rho, x * q, y * q, z * q, N, M < N ? M : N, pax != nullptr, pU != nullptr, sums);
    }
    const bool harmonic = N >= 2 && M >= 0;

    /* The central term added last, as laneGroup; every output's NaN lanes
       stored as the default NaN (default_nan.h, storeTensor). */
    if (pax != nullptr) {
        L::store(pax, toDefaultNanLanes<L>(sums.ax - (gmr2 * x) / r));
        L::store(pay, toDefaultNanLanes<L>(sums.ay - (gmr2 * y) / r));
        L::store(paz, toDefaultNanLanes<L>(sums.az - (gmr2 * z) / r));
    }

    /* Tensor: (tV + tW) K3 plus the point mass, each lane's nine entries
       stored together. */
    V t[T_ENTRIES];
    centralTensor<L>(x, y, z, r, gmr2, t);
    if (harmonic) {
        const V k3 = L::set1(K3);
        for (int e = 0; e < T_ENTRIES; e++) t[e] = (sums.tV[e] + sums.tW[e]) * k3 + t[e];
    }
    double entries[T_ENTRIES][W];
    for (int e = 0; e < T_ENTRIES; e++) L::store(entries[e], t[e]);
    for (int i = 0; i < W; i++) {
        double six[T_ENTRIES];
        for (int e = 0; e < T_ENTRIES; e++) six[e] = entries[e][i];
        storeTensor(six, T + 9 * i);
    }

    /* Potential: GM/r plus (uV + uW) K0. */
    if (pU != nullptr) {
        V u = centralPotential<L>(r);
        if (harmonic) u = (sums.uV + sums.uW) * L::set1(K0) + u;
        L::store(pU, toDefaultNanLanes<L>(u));
    }
}

/* evaluateGradientLanes - the group routine over count points, padded at
   the end as evaluateLanes; N, M clamped by the caller; the caller's
   floating-point state. */
template <class L>
void evaluateGradientLanes(const std::size_t count, const double* x, const double* y, const double* z, const int N,
                           const int M, double* T, double* ax, double* ay, double* az, double* U) {
    constexpr std::size_t W = L::WIDTH;
    const bool wantA = ax != nullptr;
    const bool wantU = U != nullptr;
    std::size_t k = 0;
    for (; count - k >= W; k += W)
        gradientLaneGroup<L>(x + k, y + k, z + k, N, M, T + 9 * k, wantA ? ax + k : nullptr,
                             wantA ? ay + k : nullptr, wantA ? az + k : nullptr, wantU ? U + k : nullptr);
    if (k == count) return;

    /* The last count - k < W points, padded. */
    const std::size_t rest = count - k;
    double in[3][W], out[4][W], tensor[9 * W];
    for (std::size_t i = 0; i < W; i++) {
        const std::size_t from = k + (i < rest ? i : rest - 1);
        in[0][i] = x[from];
        in[1][i] = y[from];
        in[2][i] = z[from];
    }
    gradientLaneGroup<L>(in[0], in[1], in[2], N, M, tensor, wantA ? out[0] : nullptr, wantA ? out[1] : nullptr,
                         wantA ? out[2] : nullptr, wantU ? out[3] : nullptr);
    for (std::size_t i = 0; i < 9 * rest; i++) T[9 * k + i] = tensor[i];
    for (std::size_t i = 0; i < rest; i++) {
        if (wantA) {
            ax[k + i] = out[0][i];
            ay[k + i] = out[1][i];
            az[k + i] = out[2][i];
        }
        if (wantU) U[k + i] = out[3][i];
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
