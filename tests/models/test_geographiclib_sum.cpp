// GeographicLib's sum of a synthetic model read with the right
// normalisation, signs and scale: U and a against the 113-bit reference at
// the report's points, whole and harmonic part, full and truncated orders.
#include <gtest/gtest.h>

#include <cstdio>

#include "accuracy_errors.h"
#include "accuracy_points.h"
#include "geographiclib_sum.h"
#include "synthetic_model.h"

namespace {

using namespace geoharm_test;

TEST(GeographicLibSum, AgreesWithTheQuadReference) {
    const HarmonicModel model = makeSyntheticModel(70, 21);
    const QuadReference reference(model);
    const std::vector<AccuracyPoint> points = accuracyPoints(model.radius, 20, 21);
    for (const int M : {70, 30}) {
        const GeographicLibSum whole(model, 70, M), harmonic(model, 70, M, false);
        PointErrors worst;
        for (const AccuracyPoint& p : points) {
            DoubleField f, h;
            whole.evaluate(p.p, f.U, f.a);
            harmonic.evaluate(p.p, h.U, h.a);
            const PointErrors e = pointErrors(reference.evaluate(p.p, 70, M), f, h, false);
            EXPECT_LT(e.a, 1e-14) << p.label;
            EXPECT_LT(e.U, 1e-14) << p.label;
            EXPECT_LT(e.aHarmonic, 1e-13) << p.label;
            worst.a = std::fmax(worst.a, e.a);
            worst.aHarmonic = std::fmax(worst.aHarmonic, e.aHarmonic);
            worst.U = std::fmax(worst.U, e.U);
        }
        std::printf("degree 70, order %d: a %.3g, harmonic a %.3g, U %.3g\n", M, worst.a, worst.aHarmonic, worst.U);
    }
}

}  // namespace
