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
#include "models/model_pair_column.h"
#include "models/polar_point.h"

namespace geoharm {

namespace {

/* The sums of column m, degrees m..N, for one point; within the polar
   cap (polar non-null) with tau's low half. */
template <bool TENSOR>
ColumnSums<double> plainColumn(const ModelData& md, const ModelPoint<double>& p, const PolarPoint<double>* polar,
                               const int N, const int m) {
    const int L = md.maxDegree;
    const DegreeFactors& f = *md.factors;
    const double tau = polar != nullptr ? polar->tau.hi : p.tau;
    const double tauLow = polar != nullptr ? polar->tau.lo : 0.0;
    /* B, B', B'' of the two degrees before; +0 below the column. */
    double b1 = 0.0, b2 = 0.0, d1 = 0.0, d2 = 0.0, e1 = 0.0, e2 = 0.0;
    BlockSums<ScalarLane, TENSOR> sums;
    sums.clear();
    for (int n = m; n <= N; n++) {
        const std::size_t i = layoutIndex(L, n, m);
        double b, d, e = 0.0;
        if (n == m) {
            b = f.seed[m];
            d = 0.0;
        } else {
            const double an = f.a[i], bn = f.b[i];
            /* tau B(n-1), with tau's low half in the cap. */
            const double tb = polar != nullptr ? tau * b1 + tauLow * b1 : tau * b1;
            const double td = polar != nullptr ? tau * d1 + tauLow * d1 : tau * d1;
            b = an * tb - bn * (p.sigma * b2);
            d = an * (p.rho * b1 + td) - bn * (p.sigma * d2);
            if (TENSOR) {
                const double te = polar != nullptr ? tau * e1 + tauLow * e1 : tau * e1;
                e = an * (p.rhoTwice * d1 + te) - bn * (p.sigma * e2);
            }
        }
        sums.add(n, N, static_cast<double>(n + 1), b, d, e, md.C[i], md.S[i]);
        b2 = b1, b1 = b, d2 = d1, d1 = d, e2 = e1, e1 = e;
    }
    return sums.result();
}

/* The model at one point, TENSOR or not. */
template <bool TENSOR>
void plainPoint(const ModelData& md, const double position[3], int N, int M, double* U, double a[3], double T[9]) {
    const ModelLimits limits = modelLimits(md.maxDegree, N, M);
    const ModelPoint<double> p = modelPoint<ScalarLane>(position[0], position[1], position[2], md.radius, md.gm);
    const bool inCap = p.pzz < POLAR_CAP_U2;
    const PolarPoint<double> polar = polarPoint<ScalarLane>(position[0], position[1], position[2], p);
    HornerSums<double> h;
    clearHorner<ScalarLane>(h);
    for (int m = limits.order; m >= 0; m--) {
        const ColumnSums<double> c =
            !inCap                  ? plainColumn<TENSOR>(md, p, nullptr, limits.degree, m)
            : m < POLAR_PAIR_ORDERS ? pairColumn<ScalarLane, TENSOR>(md, p, polar, limits.degree, m)
                                    : plainColumn<TENSOR>(md, p, &polar, limits.degree, m);
        addColumn<ScalarLane, TENSOR>(h, p, m, c);
    }
    storeModelResults<ScalarLane>(h, p, md.gmOverRadius, U, a, T);
}

}  // namespace

void evaluateModelPlain(const ModelData& md, const double position[3], int N, int M, double* U, double a[3],
                        double T[9]) {
    if (T != nullptr)
        plainPoint<true>(md, position, N, M, U, a, T);
    else
        plainPoint<false>(md, position, N, M, U, a, T);
}

}  // namespace geoharm
