/*
 * geographiclib_sum.cpp - a model's tables in GeographicLib's packing.
 */
#include "geographiclib_sum.h"

#include <stdexcept>
#include <string>

namespace geoharm_test {

GeographicLibSum::GeographicLibSum(const HarmonicModel& model, int N, int M, bool withDegreeZero)
    : scale_(model.gm / model.radius) {
    if (N < 0 || N > model.maxDegree || M < 0)
        throw std::invalid_argument("GeographicLibSum: N must be 0.." + std::to_string(model.maxDegree) +
                                    " and M >= 0");
    for (int m = 0; m <= N; m++)
        for (int n = m; n <= N; n++) {
            const bool kept = m <= M && (n > 0 || withDegreeZero);
            C_.push_back(kept ? model.c(n, m) : 0.0);
            if (m > 0) S_.push_back(kept ? model.s(n, m) : 0.0);
        }
    sum_ = GeographicLib::SphericalHarmonic(C_, S_, N, model.radius, GeographicLib::SphericalHarmonic::FULL);
}

void GeographicLibSum::evaluate(const double position[3], double& U, double a[3]) const {
    const double V = sum_(position[0], position[1], position[2], a[0], a[1], a[2]);
    U = scale_ * V;
    for (int k = 0; k < 3; k++) a[k] *= scale_;
}

}  // namespace geoharm_test
