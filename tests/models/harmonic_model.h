/*
 * harmonic_model.h - a spherical-harmonic gravity model as fully
 * normalised triangular tables, the form the test-side tools pass around
 * (the synthetic models, the 113-bit reference, GeographicLib's sums, the
 * ICGEM writer).
 *
 *   gm         gravitational parameter GM (m^3/s^2)
 *   radius     reference radius R of the expansion (m)
 *   maxDegree  the highest degree N of the tables
 *   C, S       fully normalised coefficients C(n,m), S(n,m), 0 <= m <= n
 *              <= maxDegree, at triangularIndex(n, m); S(n,0) is zero
 *
 * The potential is
 *
 *   U = (GM/R) sum_n sum_m (R/r)^(n+1) Pbar(n,m)(sin phi)
 *                            (C(n,m) cos(m lambda) + S(n,m) sin(m lambda))
 *
 * with Pbar(n,m) = sqrt(k (2n+1) (n-m)!/(n+m)!) P(n,m), k = 1 for m = 0
 * and 2 otherwise, and P(n,m)(t) = (1-t^2)^(m/2) d^m/dt^m P_n(t) without
 * the Condon-Shortley phase: C(0,0) = 1 is the point mass, C(0,0) = 0
 * leaves the harmonic terms alone.
 */
#ifndef GEOHARM_TESTS_MODELS_HARMONIC_MODEL_H
#define GEOHARM_TESTS_MODELS_HARMONIC_MODEL_H

#include <cstddef>
#include <vector>

namespace geoharm_test {

/* Position of (n, m) in a triangular table stored by degree: n(n+1)/2 + m. */
inline std::size_t triangularIndex(int n, int m) {
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2 + static_cast<std::size_t>(m);
}

/* Entries of a triangular table of degrees 0..maxDegree. */
inline std::size_t triangularSize(int maxDegree) { return triangularIndex(maxDegree + 1, 0); }

struct HarmonicModel {
    double gm = 0.0;
    double radius = 0.0;
    int maxDegree = 0;
    std::vector<double> C, S;

    double c(int n, int m) const { return C[triangularIndex(n, m)]; }
    double s(int n, int m) const { return S[triangularIndex(n, m)]; }
};

}  // namespace geoharm_test

#endif
