/*
 * geographiclib_model.h - the model in GeographicLib's form, for the
 * independent physics check and the speed comparison.
 *
 * GeographicLib sums fully normalised coefficients,
 *     C_full(n,m) = C(n,m) / sqrt(k (2n+1) (n-m)!/(n+m)!),  k = 1 (m = 0), 2,
 * packed column by column (m = 0..N, n = m..N), the sine table without its
 * m = 0 column.  Its gradient times GM/R_REF is the acceleration.
 */
#ifndef GEOHARM_TESTS_GEOGRAPHICLIB_MODEL_H
#define GEOHARM_TESTS_GEOGRAPHICLIB_MODEL_H

#include <GeographicLib/SphericalHarmonic.hpp>

#include <cmath>
#include <random>
#include <vector>

#include "model/coefficient_tables.h"
#include "model/field_constants.h"

namespace geoharm_test {

/* The model up to `degree` (<= 10).  centralTerm is C(0,0): 1 for the
   whole field, 0 for the harmonic part alone.  GeographicLib keeps pointers
   into the coefficient vectors, so they live here beside it. */
struct GeographicLibModel {
    std::vector<double> C, S;
    GeographicLib::SphericalHarmonic sum;

    explicit GeographicLibModel(int degree, double centralTerm = 1.0) {
        for (int m = 0; m <= degree; m++) {
            for (int n = m; n <= degree; n++) {
                long double ratio = 1.0L;
                for (int i = n - m + 1; i <= n + m; i++) ratio /= i;
                const long double norm = std::sqrt((m == 0 ? 1.0L : 2.0L) * (2 * n + 1) * ratio);
                C.push_back(n == 0 ? centralTerm : static_cast<double>(geoharm::coefC(n, m) / norm));
                if (m > 0) S.push_back(static_cast<double>(geoharm::coefS(n, m) / norm));
            }
        }
        sum = GeographicLib::SphericalHarmonic(C, S, degree, geoharm::R_REF,
                                               GeographicLib::SphericalHarmonic::FULL);
    }
    GeographicLibModel(const GeographicLibModel&) = delete;
    GeographicLibModel& operator=(const GeographicLibModel&) = delete;

    /* Acceleration in m/s^2: the gradient times GM/R_REF. */
    void acceleration(const double p[3], double g[3]) const {
        sum(p[0], p[1], p[2], g[0], g[1], g[2]);
        for (int k = 0; k < 3; k++) g[k] *= geoharm::GM / geoharm::R_REF;
    }
};

/* A point in a uniformly random direction at a uniform random distance. */
struct RandomPoints {
    std::mt19937_64 rng;
    std::uniform_real_distribution<double> radius;
    std::normal_distribution<double> dir{0.0, 1.0};

    RandomPoints(unsigned long long seed, double rMin, double rMax) : rng(seed), radius(rMin, rMax) {}

    void next(double p[3]) {
        const double u[3] = {dir(rng), dir(rng), dir(rng)};
        const double s = radius(rng) / std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        for (int k = 0; k < 3; k++) p[k] = u[k] * s;
    }
};

/* |a - b| / |b| for two 3-vectors. */
inline double relativeDifference(const double a[3], const double b[3]) {
    double diff = 0.0, mag = 0.0;
    for (int k = 0; k < 3; k++) {
        diff += (a[k] - b[k]) * (a[k] - b[k]);
        mag += b[k] * b[k];
    }
    return std::sqrt(diff / mag);
}

}  // namespace geoharm_test

#endif
