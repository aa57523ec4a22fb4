/*
 * model_orders.h - a model at one point with the orders of the recursion
 * in the lanes of vector registers: the one-point routine of the engine,
 * in the namespace of the level it is built for (machine/level_functions.h),
 * on the level's lane type L (kernels/level_lanes.h), each lane an order.
 *
 * The columns of different orders are independent, and the tables hold
 * the orders of one degree side by side (model_layout.h): a group of
 * GROUP_ORDERS orders is recursed degree by degree in GROUP_ORDERS /
 * L::WIDTH registers, each lane performing its column's operations of the
 * plain stages (evaluate_model_plain.cpp) in their order, so every order's
 * sums have the plain stages' bits.  A column starts at its order's
 * degree: on the group's first GROUP_ORDERS degrees the lanes of orders
 * above the degree are set to +0 and the lane whose column starts there
 * to its seed, as the plain column sets them (their coefficients are zero
 * in the tables, so their sums take +0 terms, and stay +0).  Within the
 * polar cap, the orders below POLAR_PAIR_ORDERS are recursed in pairs of
 * doubles on their own (model_pair_column.h) and replace their lanes'
 * sums.  The Horner steps then take the orders one by one, from the
 * highest down, as the plain stages do.
 */
#ifndef GEOHARM_MODEL_ORDERS_H
#define GEOHARM_MODEL_ORDERS_H

#include "kernels/scalar_lane.h"
#include "machine/level_functions.h"
#include "models/model_column.h"
#include "models/model_data.h"
#include "models/model_layout.h"
#include "models/model_pair_column.h"
#include "models/model_sums.h"
#include "models/polar_cap.h"
#include "models/polar_point.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/*
 * orderGroup - the sums of the GROUP_ORDERS columns of group g, degrees
 * up to N, for one point (CAP: within the polar cap, with tau's low half).
 */
template <class L, bool TENSOR, bool CAP>
inline void orderGroup(const ModelData& md, const ModelPoint<double>& p, const PolarPoint<double>& polar, const int N,
                       const int g, ColumnSums<double> out[GROUP_ORDERS]) {
    using V = typename L::V;
    constexpr int W = L::WIDTH;
    constexpr int R = GROUP_ORDERS / W;
    const DegreeFactors& f = *md.factors;
    const V zero = L::set1(0.0);
    const V tau = L::set1(CAP ? polar.tau.hi : p.tau), tauLow = L::set1(polar.tau.lo);
    const V sigma = L::set1(p.sigma), rho = L::set1(p.rho), rhoTwice = L::set1(p.rhoTwice);
    const int m0 = GROUP_ORDERS * g;
    V b1[R], b2[R], d1[R], d2[R], e1[R], e2[R];
    BlockSums<L, TENSOR> s[R];
    for (int r = 0; r < R; r++) {
        b1[r] = b2[r] = d1[r] = d2[r] = e1[r] = e2[r] = zero;
        s[r].clear();
    }
    const double* a = f.a + groupStart(md.maxDegree, g);
    const double* b = f.b + groupStart(md.maxDegree, g);
    const double* C = md.C + groupStart(md.maxDegree, g);
    const double* S = md.S + groupStart(md.maxDegree, g);
    for (int n = m0; n <= N; n++) {
        const V w1 = L::set1(static_cast<double>(n + 1));
        for (int r = 0; r < R; r++) {
            const int k = GROUP_ORDERS * (n - m0) + r * W;
            const V an = L::load(a + k), bn = L::load(b + k);
            V tb = tau * b1[r], td = tau * d1[r], te = tau * e1[r];
            if (CAP) {
                tb = tb + tauLow * b1[r];
                td = td + tauLow * d1[r];
                if (TENSOR) te = te + tauLow * e1[r];
            }
            V bv = an * tb - bn * (sigma * b2[r]);
            V dv = an * (rho * b1[r] + td) - bn * (sigma * d2[r]);
            V ev = zero;
            if (TENSOR) ev = an * (rhoTwice * d1[r] + te) - bn * (sigma * e2[r]);
            if (n < m0 + GROUP_ORDERS) {
                /* The columns that start at degree n, and those above it. */
                double vb[W], vd[W], ve[W];
                L::store(vb, bv);
                L::store(vd, dv);
                L::store(ve, ev);
                for (int j = 0; j < W; j++) {
                    const int m = m0 + r * W + j;
                    if (m >= n) {
                        vb[j] = m == n ? f.seed[m] : 0.0;
                        vd[j] = 0.0;
                        ve[j] = 0.0;
                    }
                }
                bv = L::load(vb);
                dv = L::load(vd);
                ev = L::load(ve);
            }
            s[r].add(n, N, w1, bv, dv, ev, L::load(C + k), L::load(S + k));
            b2[r] = b1[r], b1[r] = bv, d2[r] = d1[r], d1[r] = dv, e2[r] = e1[r], e1[r] = ev;
        }
    }
    for (int r = 0; r < R; r++) {
        const ColumnSums<V> c = s[r].result();
        double v[12][W];
        const V* fields[12] = {&c.g0c, &c.g0s, &c.g1c, &c.g1s, &c.h0c, &c.h0s,
                               &c.g2c, &c.g2s, &c.h1c, &c.h1s, &c.j0c, &c.j0s};
        for (int q = 0; q < 12; q++) L::store(v[q], *fields[q]);
        for (int j = 0; j < W; j++)
            out[r * W + j] = {v[0][j], v[1][j], v[2][j], v[3][j], v[4][j],  v[5][j],
                              v[6][j], v[7][j], v[8][j], v[9][j], v[10][j], v[11][j]};
    }
}

/*
 * modelOrders - the model at one point (degrees 0..N, orders 0..mTop:
 * model_limits.h), in the caller's floating-point state: the sums of
 * model_sums.h, finished (Horner's scheme over every order).
 */
template <class L, bool TENSOR>
inline void modelOrders(const ModelData& md, const ModelPoint<double>& p, const PolarPoint<double>& polar,
                        const bool inCap, const int N, const int mTop, HornerSums<double>& h) {
    clearHorner<ScalarLane>(h);
    for (int g = mTop / GROUP_ORDERS; g >= 0; g--) {
        ColumnSums<double> sums[GROUP_ORDERS];
        if (inCap)
            orderGroup<L, TENSOR, true>(md, p, polar, N, g, sums);
        else
            orderGroup<L, TENSOR, false>(md, p, polar, N, g, sums);
        if (inCap && g == 0)
            for (int m = 0; m < POLAR_PAIR_ORDERS && m <= mTop; m++)
                sums[m] = pairColumn<ScalarLane, TENSOR>(md, p, polar, N, m);
        const int top = GROUP_ORDERS * g + GROUP_ORDERS - 1 < mTop ? GROUP_ORDERS * g + GROUP_ORDERS - 1 : mTop;
        for (int m = top; m >= GROUP_ORDERS * g; m--)
            addColumn<ScalarLane, TENSOR>(h, p, m, sums[m - GROUP_ORDERS * g]);
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
