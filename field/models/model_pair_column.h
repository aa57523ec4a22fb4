/*
 * model_pair_column.h - a column of the polar cap's lowest orders
 * (m < POLAR_PAIR_ORDERS, polar_cap.h) recursed in pairs of doubles: the
 * recursion of model_column.h with every factor, every product and every
 * difference a pair (double_double.h), the factors and the seed the
 * pairs of degree_factors.h, tau and sigma those of polar_point.h, rho
 * (exact as it is) a pair with a zero low half.  The functions' high
 * halves go to the column's sums, which are a plain column's.
 *
 * For the lanes of L, each a point of its own (a template: the same
 * operations for one point and for a register of points).
 */
#ifndef GEOHARM_MODEL_PAIR_COLUMN_H
#define GEOHARM_MODEL_PAIR_COLUMN_H

#include "models/double_double.h"
#include "models/model_column.h"
#include "models/model_data.h"
#include "models/model_layout.h"
#include "models/polar_point.h"

namespace geoharm {

/* The sums of column m (< POLAR_PAIR_ORDERS), degrees m..N. */
template <class L, bool TENSOR>
inline __attribute__((always_inline)) ColumnSums<typename L::V> pairColumn(const ModelData& md, const ModelPoint<typename L::V>& p,
                                            const PolarPoint<typename L::V>& polar, const int N, const int m) {
    using V = typename L::V;
    using P = Pair2<V>;
    const int L0 = md.maxDegree;
    const DegreeFactors& f = *md.factors;
    const V zeroV = L::set1(0.0);
    const P zero{zeroV, zeroV};
    const P rho{p.rho, zeroV}, rhoTwice{p.rhoTwice, zeroV};
    P b1 = zero, b2 = zero, d1 = zero, d2 = zero, e1 = zero, e2 = zero;
    BlockSums<L, TENSOR> sums;
    sums.clear();
    for (int n = m; n <= N; n++) {
        const std::size_t i = layoutIndex(L0, n, m);
        P b, d, e = zero;
        if (n == m) {
            b = {L::set1(f.pairSeed[m][0]), L::set1(f.pairSeed[m][1])};
            d = zero;
        } else {
            const P an{L::set1(f.pairA[m][2 * n]), L::set1(f.pairA[m][2 * n + 1])};
            const P bn{L::set1(f.pairB[m][2 * n]), L::set1(f.pairB[m][2 * n + 1])};
            b = pairDifference<L>(pairProduct<L>(an, pairProduct<L>(polar.tau, b1)),
                                  pairProduct<L>(bn, pairProduct<L>(polar.sigma, b2)));
            d = pairDifference<L>(
                pairProduct<L>(an, pairSum<L>(pairProduct<L>(rho, b1), pairProduct<L>(polar.tau, d1))),
                pairProduct<L>(bn, pairProduct<L>(polar.sigma, d2)));
            if (TENSOR)
                e = pairDifference<L>(
                    pairProduct<L>(an, pairSum<L>(pairProduct<L>(rhoTwice, d1), pairProduct<L>(polar.tau, e1))),
                    pairProduct<L>(bn, pairProduct<L>(polar.sigma, e2)));
        }
        sums.add(n, N, L::set1(static_cast<double>(n + 1)), b.hi, d.hi, e.hi, L::set1(md.C[i]), L::set1(md.S[i]));
        b2 = b1, b1 = b, d2 = d1, d1 = d, e2 = e1, e1 = e;
    }
    return sums.result();
}

}  // namespace geoharm

#endif
