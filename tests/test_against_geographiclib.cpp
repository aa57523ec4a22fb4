// An independent check of the physics: the same model, converted to full
// normalisation, evaluated by GeographicLib's Clenshaw summation.  It
// catches a wrong sign or index that a transcription check cannot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "point/evaluate_acceleration.h"
#include "point/field_scalars.h"
#include "geographiclib_model.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"

TEST(Physics, AgreesWithGeographicLibOnRandomPoints) {
    /* Both are within about 6e-16 of a high-precision evaluation here. */
    const geoharm_test::GeographicLibModel model(10);
    geoharm_test::RandomPoints points(20261208, 6.4e6, 4.2e7);
    const int count = 2000;
    double worst = 0.0;
    for (int i = 0; i < count; i++) {
        double p[3];
        points.next(p);
        double a[3], g[3];
        geoharm::evaluateAcceleration({p[0], p[1], p[2], 10, 10}, a);
        model.acceleration(p, g);
        worst = std::max(worst, geoharm_test::relativeDifference(a, g));
    }
    std::printf("largest relative difference over %d points: %.3g\n", count, worst);
    EXPECT_LT(worst, 2e-15);
}

TEST(Physics, HarmonicPartAloneAgreesWithGeographicLib) {
    /* Without the point mass the comparison sees the harmonic terms at full
       relative resolution: a wrong sign on a degree-10 term shows here. */
    const geoharm_test::GeographicLibModel model(10, 0.0);
    geoharm_test::RandomPoints points(8122026, 6.4e6, 1.2e7);
    double worst = 0.0;
    for (int i = 0; i < 1000; i++) {
        double p[3];
        points.next(p);
        double V[geoharm::HARMONIC_SIZE], W[geoharm::HARMONIC_SIZE], sum[3], g[3];
        geoharm::fillHarmonicArrays(geoharm::computeFieldScalars(p[0], p[1], p[2]), 10, 10, V, W);
        geoharm::sumHarmonicTerms(10, 10, V, W, sum);
        model.acceleration(p, g);
        worst = std::max(worst, geoharm_test::relativeDifference(sum, g));
    }
    std::printf("harmonic part: largest relative difference %.3g\n", worst);
    EXPECT_LT(worst, 1e-13);
}
