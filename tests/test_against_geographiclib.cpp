// An independent check of the physics: the same model, converted to full
// normalisation, evaluated by GeographicLib's Clenshaw summation.  It
// catches a wrong sign or index that a transcription check cannot.
#include <gtest/gtest.h>

#include <GeographicLib/SphericalHarmonic.hpp>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "coefficient_tables.h"
#include "evaluate_acceleration.h"
#include "field_constants.h"
#include "field_scalars.h"
#include "harmonic_arrays.h"
#include "harmonic_sums.h"

namespace {

/* Coefficients in GeographicLib's packed order: for m = 0..N, n = m..N;
   the sine table has no m = 0 column. */
void fullyNormalised(std::vector<double>& C, std::vector<double>& S, double centralTerm) {
    for (int m = 0; m <= 10; m++) {
        for (int n = m; n <= 10; n++) {
            /* unnormalised = normalised * sqrt(k (2n+1) (n-m)!/(n+m)!) */
            long double ratio = 1.0L;
            for (int i = n - m + 1; i <= n + m; i++) ratio /= i;
            const long double k = m == 0 ? 1.0L : 2.0L;
            const long double norm = std::sqrt(k * (2 * n + 1) * ratio);
            double c = static_cast<double>(geoharm::coefC(n, m) / norm);
            if (n == 0) c = centralTerm;
            C.push_back(c);
            if (m > 0) S.push_back(static_cast<double>(geoharm::coefS(n, m) / norm));
        }
    }
}

}  // namespace

TEST(Physics, AgreesWithGeographicLibOnRandomPoints) {
    std::vector<double> C, S;
    fullyNormalised(C, S, 1.0);
    const GeographicLib::SphericalHarmonic model(C, S, 10, geoharm::R_REF,
                                                 GeographicLib::SphericalHarmonic::FULL);
    const double scale = geoharm::GM / geoharm::R_REF;

    std::mt19937_64 rng(20261208);
    std::uniform_real_distribution<double> radius(6.4e6, 4.2e7);
    std::normal_distribution<double> dir(0.0, 1.0);
    double worst = 0.0;
    const int points = 2000;
    for (int i = 0; i < points; i++) {
        double u[3] = {dir(rng), dir(rng), dir(rng)};
        const double len = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        const double r = radius(rng);
        const geoharm::FieldInput in{r * u[0] / len, r * u[1] / len, r * u[2] / len, 10, 10};

        double a[3];
        geoharm::evaluateAcceleration(in, a);
        double g[3];
        model(in.x, in.y, in.z, g[0], g[1], g[2]);

        double diff = 0.0, mag = 0.0;
        for (int k = 0; k < 3; k++) {
            const double ref = scale * g[k];
            diff += (a[k] - ref) * (a[k] - ref);
            mag += ref * ref;
        }
        worst = std::max(worst, std::sqrt(diff / mag));
    }
    RecordProperty("largest_relative_difference", std::to_string(worst));
    std::printf("largest relative difference over %d points: %.3g\n", points, worst);
    EXPECT_LT(worst, 2e-15);
}

TEST(Physics, HarmonicPartAloneAgreesWithGeographicLib) {
    /* Without the point mass the comparison sees the harmonic terms at full
       relative resolution: a wrong sign on a degree-10 term shows here. */
    std::vector<double> C, S;
    fullyNormalised(C, S, 0.0);
    const GeographicLib::SphericalHarmonic model(C, S, 10, geoharm::R_REF,
                                                 GeographicLib::SphericalHarmonic::FULL);
    const double scale = geoharm::GM / geoharm::R_REF;

    std::mt19937_64 rng(8122026);
    std::uniform_real_distribution<double> radius(6.4e6, 1.2e7);
    std::normal_distribution<double> dir(0.0, 1.0);
    double worst = 0.0;
    for (int i = 0; i < 1000; i++) {
        double u[3] = {dir(rng), dir(rng), dir(rng)};
        const double len = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        const double r = radius(rng);
        const double p[3] = {r * u[0] / len, r * u[1] / len, r * u[2] / len};

        double V[geoharm::HARMONIC_SIZE], W[geoharm::HARMONIC_SIZE], sum[3];
        geoharm::fillHarmonicArrays(geoharm::computeFieldScalars(p[0], p[1], p[2]), 10, 10, V, W);
        geoharm::sumHarmonicTerms(10, 10, V, W, sum);
        double g[3];
        model(p[0], p[1], p[2], g[0], g[1], g[2]);

        double diff = 0.0, mag = 0.0;
        for (int k = 0; k < 3; k++) {
            const double ref = scale * g[k];
            diff += (sum[k] - ref) * (sum[k] - ref);
            mag += ref * ref;
        }
        worst = std::max(worst, std::sqrt(diff / mag));
    }
    std::printf("harmonic part: largest relative difference %.3g\n", worst);
    EXPECT_LT(worst, 1e-13);
}
