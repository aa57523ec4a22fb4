// The gradient tensor, the acceleration and the potential against an
// independent 113-bit reference (gradient_reference.h): random points from
// just above the reference radius to beyond geostationary distance, the
// poles and the equator, every N and M.  Bounds: each tensor entry within
// 1e-14 of the tensor's Frobenius norm, the harmonic part (tensor less the
// point mass) within 1e-9 of its own norm, U within 1e-14 relative, the
// acceleration within 1e-14 of its norm, the trace within 1e-14 of the
// norm.  The worst cases are printed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "gradient_reference.h"
#include "point/evaluate_gradient.h"
#include "random_points.h"
#include "worked_examples.h"

namespace {

using geoharm_test::HESSIAN_INDEX;
using geoharm_test::Jet;
using geoharm_test::Quad;

/* The largest error of one kind and where it occurred. */
struct Worst {
    double error = 0.0;
    std::string where;
    void note(double e, const std::string& at) {
        if (e > error || (e != e && error == error)) {
            error = e;
            where = at;
        }
    }
};

struct Errors {
    Worst tensor, harmonic, potential, acceleration, trace;
    long cases = 0;
};

double toDouble(Quad q) { return static_cast<double>(q); }

Quad frobenius(const Jet& j) {
    Quad s = 0;
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < 3; k++) s += j.h[HESSIAN_INDEX[i][k]] * j.h[HESSIAN_INDEX[i][k]];
    return geoharm_test::quadSqrt(s);
}

/* One position at one N, M against the reference terms of the position. */
void check(const geoharm_test::ReferenceTerms& ref, const double p[3], int N, int M, Errors& errors) {
    const geoharm::FieldInput in{p[0], p[1], p[2], static_cast<std::int8_t>(N), static_cast<std::int8_t>(M)};
    double T[9], a[3], U;
    geoharm::evaluateGradient(in, T, a, &U);

    const Jet harmonic = geoharm_test::referenceHarmonic(ref, N, M);
    const Jet total = ref.central + harmonic;
    char at[160];
    std::snprintf(at, sizeof at, "(%.17g, %.17g, %.17g) N=%d M=%d", p[0], p[1], p[2], N, M);

    const Quad norm = frobenius(total);
    const Quad harmonicNorm = frobenius(harmonic);
    double tensor = 0.0, part = 0.0;
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < 3; k++) {
            const int h = HESSIAN_INDEX[i][k];
            const Quad got = T[3 * i + k];
            tensor = std::fmax(tensor, std::fabs(toDouble((got - total.h[h]) / norm)));
            if (harmonicNorm > 0)
                part = std::fmax(part, std::fabs(toDouble((got - ref.central.h[h] - harmonic.h[h]) / harmonicNorm)));
        }
    errors.tensor.note(tensor, at);
    if (harmonicNorm > 0) errors.harmonic.note(part, at);
    errors.potential.note(std::fabs(toDouble((U - total.v) / total.v)), at);
    const Quad aNorm = geoharm_test::quadSqrt(total.g[0] * total.g[0] + total.g[1] * total.g[1] + total.g[2] * total.g[2]);
    double acc = 0.0;
    for (int i = 0; i < 3; i++) acc = std::fmax(acc, std::fabs(toDouble((a[i] - total.g[i]) / aNorm)));
    errors.acceleration.note(acc, at);
    const double trace = std::fabs(toDouble((static_cast<Quad>(T[0]) + T[4] + T[8]) / norm));
    errors.trace.note(trace, at);
    errors.cases++;

    EXPECT_LE(tensor, 1e-14) << at;
    if (harmonicNorm > 0) {
        EXPECT_LE(part, 1e-9) << at;
    }
    EXPECT_LE(trace, 1e-14) << at;
    EXPECT_LE(std::fabs(toDouble((U - total.v) / total.v)), 1e-14) << at;
    EXPECT_LE(acc, 1e-14) << at;
}

void report(const char* what, const Errors& e) {
    std::printf("%s: %ld cases\n", what, e.cases);
    const std::pair<const char*, const Worst*> rows[] = {{"tensor entry / |T|", &e.tensor},
                                                         {"harmonic part / |T - T0|", &e.harmonic},
                                                         {"potential, relative", &e.potential},
                                                         {"acceleration / |a|", &e.acceleration},
                                                         {"trace / |T|", &e.trace}};
    for (const auto& r : rows) std::printf("  worst %-26s %.3g at %s\n", r.first, r.second->error, r.second->where.c_str());
}

}  // namespace

TEST(GradientAccuracy, PolesAndEquatorAtEveryLimit) {
    /* The poles, the equator, just above the reference radius, at GPS and
       geostationary distance and beyond; every N and M from -1 to 11. */
    Errors errors;
    const double radii[] = {geoharm::R_REF + 1.0, 7.0e6, 2.656e7, 4.2164e7, 1.0e8};
    for (double r : radii) {
        const double s = r / std::sqrt(2.0);
        const double points[][3] = {{0.0, 0.0, r}, {0.0, 0.0, -r}, {r, 0.0, 0.0}, {0.0, -r, 0.0}, {-s, s, 0.0},
                                    {1.0, -2.0, r}};
        for (const auto& p : points) {
            const geoharm_test::ReferenceTerms ref = geoharm_test::referenceTerms(p[0], p[1], p[2]);
            for (int N = -1; N <= 11; N++)
                for (int M = -1; M <= 11; M++) check(ref, p, N, M, errors);
        }
    }
    report("poles and equator", errors);
}

TEST(GradientAccuracy, RandomPointsFromTheSurfaceToBeyondGeostationary) {
    /* Radii uniform in [R_REF + 1 m, 2 R_REF] and in [2 R_REF, 1e8 m],
       directions uniform; N = M = 10 and six random limits each. */
    Errors errors;
    geoharm_test::XorShift rng{0x9E3779B97F4A7C15u};
    for (int k = 0; k < 400; k++) {
        double p[3];
        if (k % 2 == 0)
            geoharm_test::randomPoint(rng, geoharm::R_REF + 1.0, geoharm::R_REF, p);
        else
            geoharm_test::randomPoint(rng, 2.0 * geoharm::R_REF, 1.0e8 - 2.0 * geoharm::R_REF, p);
        const geoharm_test::ReferenceTerms ref = geoharm_test::referenceTerms(p[0], p[1], p[2]);
        check(ref, p, 10, 10, errors);
        for (int i = 0; i < 6; i++) {
            const int N = 2 + static_cast<int>(rng.next() % 9);
            const int M = static_cast<int>(rng.next() % 12);
            check(ref, p, N, M, errors);
        }
    }
    report("random points", errors);
}

TEST(GradientAccuracy, WorkedGradientsAreThisEvaluationsAndCloseToTheReference) {
    /* The committed values are what the evaluation gives, and each is
       within 1e-15 of the reference (relative; the tensor's entries
       relative to its norm). */
    for (const auto& w : geoharm_test::GRADIENT_EXAMPLES) {
        const geoharm::FieldInput in{w.x, w.y, w.z, static_cast<std::int8_t>(w.n), static_cast<std::int8_t>(w.m)};
        double T[9], a[3], U;
        geoharm::evaluateGradient(in, T, a, &U);
        const double six[6] = {T[0], T[4], T[8], T[1], T[2], T[5]};
        const geoharm_test::ReferenceTerms ref = geoharm_test::referenceTerms(w.x, w.y, w.z);
        const Jet total = ref.central + geoharm_test::referenceHarmonic(ref, w.n, w.m);
        EXPECT_EQ(U, w.U) << w.x << " " << w.n;
        EXPECT_LE(std::fabs(toDouble((w.U - total.v) / total.v)), 1e-15);
        for (int e = 0; e < 6; e++) {
            EXPECT_EQ(six[e], w.t[e]) << "entry " << e << " at " << w.x << " " << w.n;
            EXPECT_LE(std::fabs(toDouble((w.t[e] - total.h[e]) / frobenius(total))), 1e-15) << "entry " << e;
        }
    }
}

TEST(GradientAccuracy, ScaleOfTheTensorIsGmOverRCubedRoundedOnce) {
    /* K3 must be the double nearest to GM/R^3 (dividing K1 by R again would
       round twice, one unit higher). */
    const Quad exact = static_cast<Quad>(geoharm::GM) / (static_cast<Quad>(geoharm::R_REF) * geoharm::R_REF * geoharm::R_REF);
    const double k3 = geoharm::K3;
    const double below = std::nextafter(k3, 0.0), above = std::nextafter(k3, 1.0);
    EXPECT_LT(std::fabs(toDouble(exact - k3)), std::fabs(toDouble(exact - below)));
    EXPECT_LT(std::fabs(toDouble(exact - k3)), std::fabs(toDouble(exact - above)));
}
