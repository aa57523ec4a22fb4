/*
 * evaluate_model_plain.cpp - a model at one point by the plain stages, one
 * after the other: the scalars of the position, then each order's column
 * (model_column.h) from the highest order down, each added to the Horner
 * sums as it is finished, then the results (model_sums.h).  The reference
 * every vector routine of the engine reproduces bit for bit; slower.
 */
#include "models/evaluate_model.h"

#include "kernels/scalar_lane.h"
#include "kernels/central_tensor.h"
#include "machine/default_nan.h"
#include "models/model_column.h"
#include "models/model_layout.h"
#include "models/model_limits.h"
#include "models/model_sums.h"
#include "models/polar_cap.h"
#include "models/polar_point.h"

namespace geoharm {

namespace {

/* The block sums of one column, and their totals. */
struct PlainSums {
    double block[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    TwoSum<double> total[12] = {};

    /* Degree n's terms of B, B', B'' with the coefficients C, S. */
    void add(int n, int N, double b, double d, double e, double C, double S, bool tensor) {
        const double w1 = static_cast<double>(n + 1);
        const double pc = b * C, ps = b * S;
        const double qc = d * C, qs = d * S;
        block[0] = block[0] + pc;
        block[1] = block[1] + ps;
        block[2] = block[2] + w1 * pc;
        block[3] = block[3] + w1 * ps;
        block[4] = block[4] + qc;
        block[5] = block[5] + qs;
        if (tensor) {
            const double w2 = w1 * w1;
            block[6] = block[6] + w2 * pc;
            block[7] = block[7] + w2 * ps;
            block[8] = block[8] + w1 * qc;
            block[9] = block[9] + w1 * qs;
            block[10] = block[10] + e * C;
            block[11] = block[11] + e * S;
        }
        if (closesBlock(n) || n == N) {
            for (int k = 0; k < 12; k++) {
                addBlock(total[k], block[k]);
                block[k] = 0.0;
            }
        }
    }

    ColumnSums<double> result() const {
        double v[12];
        for (int k = 0; k < 12; k++) v[k] = total[k].hi + total[k].lo;
        return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
    }
};

/* The sums of column m, degrees m..N, for one point; within the polar
   cap (polar non-null) with tau's low half. */
ColumnSums<double> plainColumn(const ModelData& md, const ModelPoint<double>& p, const PolarPoint<double>* polar,
                               const int N, const int m, const bool tensor) {
    const int L = md.maxDegree;
    const DegreeFactors& f = *md.factors;
    const double tau = polar != nullptr ? polar->tau.hi : p.tau;
    const double tauLow = polar != nullptr ? polar->tau.lo : 0.0;
    /* B, B', B'' of the two degrees before; +0 below the column. */
    double b1 = 0.0, b2 = 0.0, d1 = 0.0, d2 = 0.0, e1 = 0.0, e2 = 0.0;
    PlainSums sums;
    for (int n = m; n <= N; n++) {
        const std::size_t i = layoutIndex(L, n, m);
        double b, d, e;
        if (n == m) {
            b = f.seed[m];
            d = 0.0;
            e = 0.0;
        } else {
            const double an = f.a[i], bn = f.b[i];
            /* tau B(n-1), with tau's low half in the cap. */
            const double tb = polar != nullptr ? tau * b1 + tauLow * b1 : tau * b1;
            const double td = polar != nullptr ? tau * d1 + tauLow * d1 : tau * d1;
            const double te = polar != nullptr ? tau * e1 + tauLow * e1 : tau * e1;
            b = an * tb - bn * (p.sigma * b2);
            d = an * (p.rho * b1 + td) - bn * (p.sigma * d2);
            e = an * (p.rhoTwice * d1 + te) - bn * (p.sigma * e2);
        }
        sums.add(n, N, b, d, e, md.C[i], md.S[i], tensor);
        b2 = b1, b1 = b, d2 = d1, d1 = d, e2 = e1, e1 = e;
    }
    return sums.result();
}

/* The same for a column of the polar cap's orders below
   POLAR_PAIR_ORDERS, recursed in pairs of doubles. */
ColumnSums<double> plainPairColumn(const ModelData& md, const ModelPoint<double>& p, const PolarPoint<double>& polar,
                                   const int N, const int m, const bool tensor) {
    using P = Pair2<double>;
    using S = ScalarLane;
    const int L = md.maxDegree;
    const DegreeFactors& f = *md.factors;
    const P zero{0.0, 0.0};
    const P rho{p.rho, 0.0}, rhoTwice{p.rhoTwice, 0.0};
    P b1 = zero, b2 = zero, d1 = zero, d2 = zero, e1 = zero, e2 = zero;
    PlainSums sums;
    for (int n = m; n <= N; n++) {
        const std::size_t i = layoutIndex(L, n, m);
        P b, d, e;
        if (n == m) {
            b = {f.pairSeed[m][0], f.pairSeed[m][1]};
            d = zero;
            e = zero;
        } else {
            const P an{f.pairA[m][2 * n], f.pairA[m][2 * n + 1]};
            const P bn{f.pairB[m][2 * n], f.pairB[m][2 * n + 1]};
            b = pairDifference<S>(pairProduct<S>(an, pairProduct<S>(polar.tau, b1)),
                                  pairProduct<S>(bn, pairProduct<S>(polar.sigma, b2)));
            d = pairDifference<S>(
                pairProduct<S>(an, pairSum<S>(pairProduct<S>(rho, b1), pairProduct<S>(polar.tau, d1))),
                pairProduct<S>(bn, pairProduct<S>(polar.sigma, d2)));
            if (tensor)
                e = pairDifference<S>(
                    pairProduct<S>(an, pairSum<S>(pairProduct<S>(rhoTwice, d1), pairProduct<S>(polar.tau, e1))),
                    pairProduct<S>(bn, pairProduct<S>(polar.sigma, e2)));
            else
                e = zero;
        }
        sums.add(n, N, b.hi, d.hi, e.hi, md.C[i], md.S[i], tensor);
        b2 = b1, b1 = b, d2 = d1, d1 = d, e2 = e1, e1 = e;
    }
    return sums.result();
}

}  // namespace

void evaluateModelPlain(const ModelData& md, const double position[3], int N, int M, double* U, double a[3],
                        double T[9]) {
    const ModelLimits limits = modelLimits(md.maxDegree, N, M);
    const ModelPoint<double> p =
        modelPoint<ScalarLane>(position[0], position[1], position[2], md.radius, md.gm);
    const bool tensor = T != nullptr;
    const bool inCap = p.pzz < POLAR_CAP_U2;
    const PolarPoint<double> polar = polarPoint<ScalarLane>(position[0], position[1], position[2], p);
    HornerSums<double> h;
    clearHorner<ScalarLane>(h);
    for (int m = limits.order; m >= 0; m--) {
        const ColumnSums<double> c = !inCap                  ? plainColumn(md, p, nullptr, limits.degree, m, tensor)
                                     : m < POLAR_PAIR_ORDERS ? plainPairColumn(md, p, polar, limits.degree, m, tensor)
                                                             : plainColumn(md, p, &polar, limits.degree, m, tensor);
        if (tensor)
            addColumn<ScalarLane, true>(h, p, m, c);
        else
            addColumn<ScalarLane, false>(h, p, m, c);
    }
    if (U != nullptr) *U = toDefaultNan(modelPotential<ScalarLane>(h, p, md.gmOverRadius));
    if (a != nullptr) {
        modelAcceleration<ScalarLane>(h, p, a);
        for (int i = 0; i < 3; i++) a[i] = toDefaultNan(a[i]);
    }
    if (tensor) {
        double t6[6];
        modelTensor<ScalarLane>(h, p, t6);
        storeTensor(t6, T);
    }
}

}  // namespace geoharm
