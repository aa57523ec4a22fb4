/*
 * model_tile.h - a model at the points of a tile, one point per vector
 * lane: the many-point routine of the engine, in the namespace of the
 * level it is built for (machine/level_functions.h), on the level's lane
 * type L (kernels/level_lanes.h).
 *
 * Every lane performs, on its own point, the operations of the plain
 * stages (evaluate_model_plain.cpp): the same column recursion and block
 * sums (model_column.h), the same Horner steps and results
 * (model_sums.h), in the same order; so every point has the bits of
 * evaluateModel.  A tile is TILE registers of points: each order's column
 * is made for all of them at once, so that the model's tables (up to some
 * 77 MB at degree 2190, with the recursion's factors) are read from
 * memory once per tile, not once per point: a group of eight orders
 * shares its cache lines (model_layout.h), read for its first order and
 * found in the cache for the seven others.
 */
#ifndef GEOHARM_MODEL_TILE_H
#define GEOHARM_MODEL_TILE_H

#include <cstddef>

#include "kernels/central_tensor.h"
#include "machine/default_nan.h"
#include "machine/level_functions.h"
#include "models/model_column.h"
#include "models/model_data.h"
#include "models/model_layout.h"
#include "models/model_sums.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/* The state of one register of points in one column. */
template <class V, bool TENSOR>
struct TileColumn {
    V b1, b2, d1, d2, e1, e2;       /* B, B', B'' of the two degrees before */
    V block[TENSOR ? 12 : 6];       /* the sums of the current block */
    TwoSum<V> total[TENSOR ? 12 : 6];
};

/*
 * tileColumn - column m, degrees m..N, of every register of the tile:
 * the column's sums of each.
 */
template <class L, int TILE, bool TENSOR>
inline __attribute__((always_inline)) void tileColumn(const ModelData& md, const ModelPoint<typename L::V>* p,
                                                      const int N, const int m, ColumnSums<typename L::V>* sums) {
    using V = typename L::V;
    constexpr int K = TENSOR ? 12 : 6;
    const V zero = L::set1(0.0);
    const DegreeFactors& f = *md.factors;
    TileColumn<V, TENSOR> s[TILE];
#pragma GCC unroll 4
    for (int t = 0; t < TILE; t++) {
        s[t].b1 = s[t].b2 = s[t].d1 = s[t].d2 = s[t].e1 = s[t].e2 = zero;
        for (int k = 0; k < K; k++) {
            s[t].block[k] = zero;
            s[t].total[k] = {zero, zero};
        }
    }
    /* Entry (n, m) of the tables at first + GROUP_ORDERS n. */
    const int g = m / GROUP_ORDERS;
    const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(groupStart(md.maxDegree, g)) + (m - GROUP_ORDERS * g) -
                                 static_cast<std::ptrdiff_t>(GROUP_ORDERS) * GROUP_ORDERS * g;
    for (int n = m; n <= N; n++) {
        const std::ptrdiff_t i = first + static_cast<std::ptrdiff_t>(GROUP_ORDERS) * n;
        const V C = L::set1(md.C[i]), S = L::set1(md.S[i]);
        const V w1 = L::set1(static_cast<double>(n + 1));
        const V an = L::set1(f.a[i]), bn = L::set1(f.b[i]);
        const V seed = L::set1(f.seed[m]);
#pragma GCC unroll 4
        for (int t = 0; t < TILE; t++) {
            TileColumn<V, TENSOR>& c = s[t];
            V b, d, e;
            if (n == m) {
                b = seed;
                d = zero;
                e = zero;
            } else {
                b = an * (p[t].tau * c.b1) - bn * (p[t].sigma * c.b2);
                d = an * (p[t].rho * c.b1 + p[t].tau * c.d1) - bn * (p[t].sigma * c.d2);
                if (TENSOR) e = an * (p[t].rhoTwice * c.d1 + p[t].tau * c.e1) - bn * (p[t].sigma * c.e2);
            }
            const V pc = b * C, ps = b * S;
            const V qc = d * C, qs = d * S;
            c.block[0] = c.block[0] + pc;
            c.block[1] = c.block[1] + ps;
            c.block[2] = c.block[2] + w1 * pc;
            c.block[3] = c.block[3] + w1 * ps;
            c.block[4] = c.block[4] + qc;
            c.block[5] = c.block[5] + qs;
            if (TENSOR) {
                const V w2 = w1 * w1;
                c.block[6 % K] = c.block[6 % K] + w2 * pc;
                c.block[7 % K] = c.block[7 % K] + w2 * ps;
                c.block[8 % K] = c.block[8 % K] + w1 * qc;
                c.block[9 % K] = c.block[9 % K] + w1 * qs;
                c.block[10 % K] = c.block[10 % K] + e * C;
                c.block[11 % K] = c.block[11 % K] + e * S;
                c.e2 = c.e1;
                c.e1 = e;
            }
            c.b2 = c.b1;
            c.b1 = b;
            c.d2 = c.d1;
            c.d1 = d;
        }
        if (closesBlock(n) || n == N) {
#pragma GCC unroll 4
            for (int t = 0; t < TILE; t++)
                for (int k = 0; k < K; k++) {
                    addBlock(s[t].total[k], s[t].block[k]);
                    s[t].block[k] = zero;
                }
        }
    }
#pragma GCC unroll 4
    for (int t = 0; t < TILE; t++) {
        V v[12];
        for (int k = 0; k < 12; k++) v[k] = k < K ? s[t].total[k].hi + s[t].total[k].lo : zero;
        sums[t] = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
    }
}

/* The outputs of a tile, which may be null: each output array holds the
   tile's TILE * L::WIDTH points (T nine doubles a point). */
struct TileOutputs {
    double* U;
    double *ax, *ay, *az;
    double* T;
};

/*
 * modelTile - the model at TILE * L::WIDTH points (x[i], y[i], z[i]),
 * degrees 0..N and orders 0..mTop (model_limits.h), into `out`.
 */
template <class L, int TILE, bool TENSOR>
void modelTile(const ModelData& md, const double* x, const double* y, const double* z, const int N, const int mTop,
               const TileOutputs& out) {
    using V = typename L::V;
    constexpr int W = L::WIDTH;
    ModelPoint<V> p[TILE];
    HornerSums<V> h[TILE];
    for (int t = 0; t < TILE; t++) {
        p[t] = modelPoint<L>(L::load(x + t * W), L::load(y + t * W), L::load(z + t * W), md.radius, md.gm);
        clearHorner<L>(h[t]);
    }
    for (int m = mTop; m >= 0; m--) {
        ColumnSums<V> sums[TILE];
        tileColumn<L, TILE, TENSOR>(md, p, N, m, sums);
        for (int t = 0; t < TILE; t++) addColumn<L, TENSOR>(h[t], p[t], m, sums[t]);
    }
    for (int t = 0; t < TILE; t++) {
        if (out.U != nullptr) L::store(out.U + t * W, toDefaultNanLanes<L>(modelPotential<L>(h[t], p[t], md.gmOverRadius)));
        if (out.ax != nullptr) {
            V a[3];
            modelAcceleration<L>(h[t], p[t], a);
            L::store(out.ax + t * W, toDefaultNanLanes<L>(a[0]));
            L::store(out.ay + t * W, toDefaultNanLanes<L>(a[1]));
            L::store(out.az + t * W, toDefaultNanLanes<L>(a[2]));
        }
        if (TENSOR) {
            V t6[6];
            modelTensor<L>(h[t], p[t], t6);
            double entries[6][W];
            for (int e = 0; e < 6; e++) L::store(entries[e], t6[e]);
            for (int i = 0; i < W; i++) {
                const double six[6] = {entries[0][i], entries[1][i], entries[2][i],
                                       entries[3][i], entries[4][i], entries[5][i]};
                storeTensor(six, out.T + 9 * (t * W + i));
            }
        }
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
