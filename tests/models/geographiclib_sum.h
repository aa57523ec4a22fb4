/*
 * geographiclib_sum.h - GeographicLib's spherical-harmonic sum of a fully
 * normalised model: the potential and the acceleration in double, for the
 * accuracy comparison (an outside implementation, used as a black box
 * through its public interface).
 *
 * GeographicLib::SphericalHarmonic with FULL normalisation sums
 *
 *   V = sum (R/r)^(n+1) Pbar(n,m)(sin phi) (C cos m lambda + S sin m lambda)
 *
 * with the same Pbar as harmonic_model.h (no Condon-Shortley phase), its
 * coefficients packed order by order (m = 0..N, n = m..N), the sine table
 * without its m = 0 column.  U = (GM/R) V and a = (GM/R) grad V; the tests
 * check this reading against the 113-bit reference.
 */
#ifndef GEOHARM_TESTS_MODELS_GEOGRAPHICLIB_SUM_H
#define GEOHARM_TESTS_MODELS_GEOGRAPHICLIB_SUM_H

#include <GeographicLib/SphericalHarmonic.hpp>

#include <vector>

#include "harmonic_model.h"

namespace geoharm_test {

class GeographicLibSum {
public:
    /*
     * Given:
     *   model   fully normalised tables
     *   N, M    largest degree (0..model.maxDegree) and order (>= 0; above
     *           N is N): the terms of higher order are zero in the copy
     *           GeographicLib sums
     *   withDegreeZero  false: C(0,0) = 0, the harmonic terms alone
     * Throws std::invalid_argument for N or M out of range.
     */
    GeographicLibSum(const HarmonicModel& model, int N, int M, bool withDegreeZero = true);
    GeographicLibSum(const GeographicLibSum&) = delete;
    GeographicLibSum& operator=(const GeographicLibSum&) = delete;

    /* U (m^2/s^2) and a (m/s^2) at position (m). */
    void evaluate(const double position[3], double& U, double a[3]) const;

private:
    /* GeographicLib keeps pointers into these: they live beside it. */
    std::vector<double> C_, S_;
    double scale_;
    GeographicLib::SphericalHarmonic sum_;
};

}  // namespace geoharm_test

#endif
