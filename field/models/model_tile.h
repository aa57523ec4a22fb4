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
 * evaluateModel.  A point within the polar cap (polar_cap.h) takes the
 * cap's recursion in its lane, the others theirs: a tile with no point in
 * the cap runs the plain recursion alone; one with some runs both where
 * they differ and keeps each lane's own (a lane-wise select, which changes
 * no value).
 *
 * A tile is TILE registers of points: each order's column is made for all
 * of them at once, so that the model's tables (up to some 77 MB at degree
 * 2190, with the recursion's factors) are read from memory once per tile,
 * not once per point: a group of eight orders shares its cache lines
 * (model_layout.h), read for its first order and found in the cache for
 * the seven others.
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
#include "models/model_pair_column.h"
#include "models/model_sums.h"
#include "models/polar_cap.h"
#include "models/polar_point.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

/* The lanes of a register in the polar cap: a lane-wise mask. */
template <class L>
using LaneMask = decltype(typename L::V{} < typename L::V{});

/* The points of one register of a tile. */
template <class L>
struct TilePoints {
    ModelPoint<typename L::V> p;
    PolarPoint<typename L::V> polar;
    LaneMask<L> inCap;
};

/*
 * tileColumn - column m, degrees m..N, for every register of the tile:
 * the column's sums of each.  CAP: the lanes in the polar cap multiply
 * by their own tau and its low half (the others' operations and values
 * are those of the plain recursion).
 */
template <class L, int TILE, bool TENSOR, bool CAP>
inline __attribute__((always_inline)) void tileColumn(const ModelData& md, const TilePoints<L>* pts, const int N,
                                                      const int m, ColumnSums<typename L::V>* sums) {
    using V = typename L::V;
    const V zero = L::set1(0.0);
    const DegreeFactors& f = *md.factors;
    V b1[TILE], b2[TILE], d1[TILE], d2[TILE], e1[TILE], e2[TILE], tau[TILE];
    BlockSums<L, TENSOR> s[TILE];
    for (int t = 0; t < TILE; t++) {
        b1[t] = b2[t] = d1[t] = d2[t] = e1[t] = e2[t] = zero;
        tau[t] = CAP ? (pts[t].inCap ? pts[t].polar.tau.hi : pts[t].p.tau) : pts[t].p.tau;
        s[t].clear();
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
        for (int t = 0; t < TILE; t++) {
            const ModelPoint<V>& p = pts[t].p;
            V b, d, e = zero;
            if (n == m) {
                b = L::set1(f.seed[m]);
                d = zero;
            } else {
                V tb = tau[t] * b1[t], td = tau[t] * d1[t], te = tau[t] * e1[t];
                if (CAP) {
                    const V low = pts[t].polar.tau.lo;
                    tb = pts[t].inCap ? tb + low * b1[t] : tb;
                    td = pts[t].inCap ? td + low * d1[t] : td;
                    if (TENSOR) te = pts[t].inCap ? te + low * e1[t] : te;
                }
                b = an * tb - bn * (p.sigma * b2[t]);
                d = an * (p.rho * b1[t] + td) - bn * (p.sigma * d2[t]);
                if (TENSOR) e = an * (p.rhoTwice * d1[t] + te) - bn * (p.sigma * e2[t]);
            }
            s[t].add(n, N, w1, b, d, e, C, S);
            b2[t] = b1[t], b1[t] = b, d2[t] = d1[t], d1[t] = d, e2[t] = e1[t], e1[t] = e;
        }
    }
    for (int t = 0; t < TILE; t++) sums[t] = s[t].result();
}

/* Lane by lane, a where the mask is set, b elsewhere. */
template <class L>
inline ColumnSums<typename L::V> selected(const LaneMask<L> mask, const ColumnSums<typename L::V>& a,
                                          const ColumnSums<typename L::V>& b) {
    return {mask ? a.g0c : b.g0c, mask ? a.g0s : b.g0s, mask ? a.g1c : b.g1c, mask ? a.g1s : b.g1s,
            mask ? a.h0c : b.h0c, mask ? a.h0s : b.h0s, mask ? a.g2c : b.g2c, mask ? a.g2s : b.g2s,
            mask ? a.h1c : b.h1c, mask ? a.h1s : b.h1s, mask ? a.j0c : b.j0c, mask ? a.j0s : b.j0s};
}

/* The outputs of a tile, each of which may be null (not written): each
   output array holds the tile's TILE * L::WIDTH points (T nine doubles a
   point). */
struct TileOutputs {
    double* U;
    double *ax, *ay, *az;
    double* T;
};

/*
 * modelTile - the model at GROUP tiles of TILE * L::WIDTH points each
 * (x[i], y[i], z[i]), degrees 0..N and orders 0..mTop (model_limits.h),
 * into `out`.
 *
 * The tiles of a group take each order's column one after the other, so
 * that the second and later tiles find the column's part of the tables
 * in the cache where the first left it: a model too large for the caches
 * is read from memory once per group, not once per tile, while the
 * registers hold one tile's state at a time as before.  Each tile's
 * operations, and so its bits, are those it has alone.
 */
template <class L, int TILE, bool TENSOR, int GROUP = 1>
void modelTile(const ModelData& md, const double* x, const double* y, const double* z, const int N, const int mTop,
               const TileOutputs& out) {
    using V = typename L::V;
    constexpr int W = L::WIDTH;
    constexpr int R = TILE * GROUP; /* registers of points */
    TilePoints<L> pts[R];
    HornerSums<V> h[R];
    bool anyInCap[GROUP] = {};
    for (int r = 0; r < R; r++) {
        const V px = L::load(x + r * W), py = L::load(y + r * W), pz = L::load(z + r * W);
        pts[r].p = modelPoint<L>(px, py, pz, md.radius, md.gm);
        pts[r].polar = polarPoint<L>(px, py, pz, pts[r].p);
        pts[r].inCap = pts[r].p.pzz < L::set1(POLAR_CAP_U2);
        double inCap[W];
        L::store(inCap, pts[r].inCap ? L::set1(1.0) : L::set1(0.0));
        for (int i = 0; i < W; i++) anyInCap[r / TILE] = anyInCap[r / TILE] || inCap[i] != 0.0;
        clearHorner<L>(h[r]);
    }
    for (int m = mTop; m >= 0; m--) {
        for (int g = 0; g < GROUP; g++) {
            const TilePoints<L>* tile = pts + g * TILE;
            ColumnSums<V> sums[TILE];
            if (!anyInCap[g]) {
                tileColumn<L, TILE, TENSOR, false>(md, tile, N, m, sums);
            } else if (m >= POLAR_PAIR_ORDERS) {
                tileColumn<L, TILE, TENSOR, true>(md, tile, N, m, sums);
            } else {
                /* The cap's lanes recursed in pairs, the others plainly. */
                tileColumn<L, TILE, TENSOR, false>(md, tile, N, m, sums);
                for (int t = 0; t < TILE; t++)
                    sums[t] = selected<L>(tile[t].inCap, pairColumn<L, TENSOR>(md, tile[t].p, tile[t].polar, N, m),
                                          sums[t]);
            }
            for (int t = 0; t < TILE; t++) addColumn<L, TENSOR>(h[g * TILE + t], tile[t].p, m, sums[t]);
        }
    }
    for (int r = 0; r < R; r++) {
        const ModelPoint<V>& p = pts[r].p;
        if (out.U != nullptr) L::store(out.U + r * W, toDefaultNanLanes<L>(modelPotential<L>(h[r], p, md.gmOverRadius)));
        if (out.ax != nullptr || out.ay != nullptr || out.az != nullptr) {
            V a[3];
            modelAcceleration<L>(h[r], p, a);
            double* const components[3] = {out.ax, out.ay, out.az};
            for (int i = 0; i < 3; i++)
                if (components[i] != nullptr) L::store(components[i] + r * W, toDefaultNanLanes<L>(a[i]));
        }
        if (TENSOR) {
            V t6[6];
            modelTensor<L>(h[r], p, t6);
            double entries[6][W];
            for (int e = 0; e < 6; e++) L::store(entries[e], t6[e]);
            for (int i = 0; i < W; i++) {
                const double six[6] = {entries[0][i], entries[1][i], entries[2][i],
                                       entries[3][i], entries[4][i], entries[5][i]};
                storeTensor(six, out.T + 9 * (r * W + i));
            }
        }
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
