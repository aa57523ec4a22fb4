// The 113-bit solid-harmonic reference checked three ways: against the
// independent 113-bit jet reference of the compiled-in model (different
// method, same numbers), T's symmetry and zero trace at degree 360 (the
// ladder factors agree with each other), and a and T against central
// differences of U and a in quad (the ladder is the gradient).
#include <gtest/gtest.h>

#include <geoharm/geoharm.h>

#include <cmath>
#include <cstdio>

#include "gradient_reference.h"
#include "quad_reference.h"
#include "synthetic_model.h"

namespace {

using geoharm_test::Quad;
using geoharm_test::QuadEvaluation;
using geoharm_test::QuadField;
using geoharm_test::QuadReference;

/* Points where evaluations go wrong first: 1 m above the reference
   sphere, exactly on the axis, 1e-6 rad from it, far out, and generic. */
const double POINTS[][3] = {
    {6378138.3, 0.0, 0.0},
    {0.0, 0.0, 6378138.3},
    {0.0, 0.0, -1e8},
    {4.4647, 3.4, 6378200.0},
    {-3.1e6, 2.2e6, -5.1e6},
    {2.9e7, -2.5e7, 1.7e7},
};

double toDouble(Quad q) { return static_cast<double>(q); }

Quad norm(const Quad* v, int n) {
    Quad s = 0;
    for (int k = 0; k < n; k++) s += v[k] * v[k];
    return geoharm_test::quadSqrt(s);
}

Quad frobenius(const Quad (*T)[3]) {
    Quad s = 0;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) s += T[i][j] * T[i][j];
    return geoharm_test::quadSqrt(s);
}

/* The largest of |U - U'|/|U|, |a - a'|/|a|, |T - T'|_F/|T|_F. */
double largestDifference(const QuadField& f, const Quad U, const Quad a[3], const Quad T[3][3]) {
    Quad da[3], dT[9];
    for (int i = 0; i < 3; i++) {
        da[i] = f.a[i] - a[i];
        for (int j = 0; j < 3; j++) dT[3 * i + j] = f.T[i][j] - T[i][j];
    }
    const double u = std::fabs(toDouble((f.U - U) / U));
    const double g = toDouble(norm(da, 3) / norm(a, 3));
    const double t = toDouble(norm(dT, 9) / frobenius(T));
    return std::fmax(u, std::fmax(g, t));
}

/* The compiled-in model fully normalised in quad: C / Nbar(n,m), Nbar^2 =
   k (2n+1) (n-m)!/(n+m)!, with C(0,0) = 1 for its point mass. */
QuadReference compiledInModel() {
    const geoharm::Model model = geoharm::model();
    const int N = model.maxDegree;
    geoharm_test::QuadTable C(geoharm_test::triangularSize(N), 0), S(C.size(), 0);
    C[0] = 1;
    for (int n = 2; n <= N; n++)
        for (int m = 0; m <= n; m++) {
            Quad ratio = (m == 0 ? 1 : 2) * (2 * n + 1);
            for (int i = n - m + 1; i <= n + m; i++) ratio /= i;
            const Quad normalisation = geoharm_test::quadSqrt(ratio);
            C[geoharm_test::triangularIndex(n, m)] = model.C[n][m] / normalisation;
            S[geoharm_test::triangularIndex(n, m)] = model.S[n][m] / normalisation;
        }
    return QuadReference(model.gm, model.referenceRadius, N, C, S);
}

TEST(QuadReference, AgreesWithTheJetReferenceOfTheCompiledInModel) {
    const QuadReference reference = compiledInModel();
    const int limits[][2] = {{10, 10}, {10, 3}, {7, 7}, {2, 0}, {1, 1}};
    double worst = 0.0;
    for (const auto& p : POINTS) {
        const geoharm_test::ReferenceTerms jets = geoharm_test::referenceTerms(p[0], p[1], p[2]);
        for (const auto& nm : limits) {
            const QuadEvaluation e = reference.evaluate(p, nm[0], nm[1]);
            const geoharm_test::Jet harmonic = geoharm_test::referenceHarmonic(jets, nm[0], nm[1]);
            const geoharm_test::Jet whole = jets.central + harmonic;
            for (const auto* pair : {&whole, &harmonic}) {
                const QuadField& f = pair == &whole ? e.model : e.harmonic;
                if (pair->v == 0) {  // N = 1: no harmonic terms in either
                    EXPECT_EQ(toDouble(f.U), 0.0);
                    continue;
                }
                Quad T[3][3];
                for (int i = 0; i < 3; i++)
                    for (int j = 0; j < 3; j++) T[i][j] = pair->h[geoharm_test::HESSIAN_INDEX[i][j]];
                const double d = largestDifference(f, pair->v, pair->g, T);
                EXPECT_LT(d, 1e-30) << "at " << p[0] << " " << p[1] << " " << p[2] << " N=" << nm[0]
                                    << " M=" << nm[1];
                worst = std::fmax(worst, d);
            }
        }
    }
    std::printf("largest relative difference from the jet reference: %.3g\n", worst);
}

TEST(QuadReference, TensorIsSymmetricAndTraceFreeAtDegree360) {
    const QuadReference reference(geoharm_test::makeSyntheticModel(360, 3));
    double worst = 0.0;
    for (const auto& p : POINTS) {
        const QuadEvaluation e = reference.evaluate(p, 360, 360);
        for (const QuadField* f : {&e.model, &e.harmonic}) {
            const Quad size = frobenius(f->T);
            const Quad trace = f->T[0][0] + f->T[1][1] + f->T[2][2];
            double d = std::fabs(toDouble(trace / size));
            for (int i = 0; i < 3; i++)
                for (int j = 0; j < i; j++) d = std::fmax(d, std::fabs(toDouble((f->T[i][j] - f->T[j][i]) / size)));
            EXPECT_LT(d, 1e-30) << "at " << p[0] << " " << p[1] << " " << p[2];
            worst = std::fmax(worst, d);
        }
    }
    std::printf("largest |trace| or asymmetry / |T|: %.3g\n", worst);
}

TEST(QuadReference, GradientsAreCentralDifferencesInQuad) {
    /* Sixth-order differences with h = 1 m: truncation about (h n/r)^6/140
       (1e-32 at degree 70), rounding about 1e-34 |U| / h: near 1e-27 of
       |a|, and likewise for T from a. */
    const QuadReference reference(geoharm_test::makeSyntheticModel(70, 5));
    const Quad weights[3] = {45, -9, 1};
    double worst = 0.0, worstHarmonic = 0.0;
    for (const auto& p : POINTS) {
        const QuadEvaluation e = reference.evaluate(p, 70, 70);
        for (int part = 0; part < 2; part++) {
            const QuadField& f = part == 0 ? e.model : e.harmonic;
            Quad da[3], dT[9];
            for (int j = 0; j < 3; j++) {
                Quad dU = 0, dA[3] = {0, 0, 0};
                for (int k = 1; k <= 3; k++)
                    for (int sign : {1, -1}) {
                        Quad q[3] = {p[0], p[1], p[2]};
                        q[j] += sign * k;
                        const QuadEvaluation s = reference.evaluate(q, 70, 70);
                        const QuadField& g = part == 0 ? s.model : s.harmonic;
                        dU += sign * weights[k - 1] * g.U;
                        for (int i = 0; i < 3; i++) dA[i] += sign * weights[k - 1] * g.a[i];
                    }
                da[j] = dU / 60 - f.a[j];
                for (int i = 0; i < 3; i++) dT[3 * i + j] = dA[i] / 60 - f.T[i][j];
            }
            const double d = std::fmax(toDouble(norm(da, 3) / norm(f.a, 3)),
                                       toDouble(norm(dT, 9) / frobenius(f.T)));
            EXPECT_LT(d, part == 0 ? 1e-24 : 1e-20) << "at " << p[0] << " " << p[1] << " " << p[2];
            (part == 0 ? worst : worstHarmonic) = std::fmax(part == 0 ? worst : worstHarmonic, d);
        }
    }
    std::printf("largest difference from central differences: %.3g (harmonic part %.3g)\n", worst, worstHarmonic);
}

}  // namespace
