// The model as the installed interface states it (geoharm::model() and the
// formula in <geoharm/model.h>): the potential written out from the stated
// tables, in long double, and differentiated numerically, gives the
// acceleration the library computes.  A wrong statement (another
// normalisation, the Condon-Shortley phase, C and S or n and m swapped, a
// table the evaluation does not use) fails here.
#include <gtest/gtest.h>

#include <cmath>

#include <geoharm/geoharm.h>

#include "random_points.h"

namespace {

/* The harmonic part of the potential (m^2/s^2), as model.h states it:
   GM/r * sum over n = 2..10, m = 0..n of (R_REF/r)^n P_nm(sin lat)
   (C[n][m] cos(m lon) + S[n][m] sin(m lon)), P_nm unnormalised, without
   the Condon-Shortley phase. */
long double harmonicPotential(const geoharm::Model& md, long double x, long double y, long double z) {
    const long double r = std::sqrt(x * x + y * y + z * z);
    const long double s = z / r;
    const long double c = std::sqrt(x * x + y * y) / r;
    const long double lon = std::atan2(y, x);
    const int top = md.maxDegree;
    long double P[11][11] = {};
    for (int m = 0; m <= top; m++) {
        P[m][m] = m == 0 ? 1.0L : (2 * m - 1) * c * P[m - 1][m - 1];
        if (m + 1 <= top) P[m + 1][m] = (2 * m + 1) * s * P[m][m];
        for (int n = m + 2; n <= top; n++) P[n][m] = ((2 * n - 1) * s * P[n - 1][m] - (n + m - 1) * P[n - 2][m]) / (n - m);
    }
    long double sum = 0.0L;
    for (int n = 2; n <= top; n++) {
        const long double q = std::pow(static_cast<long double>(md.referenceRadius) / r, n);
        for (int m = 0; m <= n; m++)
            sum += q * P[n][m] * (md.C[n][m] * std::cos(m * lon) + md.S[n][m] * std::sin(m * lon));
    }
    return md.gm / r * sum;
}

TEST(ModelStatement, StatedTablesGiveTheLibrarysAcceleration) {
    const geoharm::Model md = geoharm::model();
    ASSERT_EQ(md.maxDegree, geoharm::MAX_DEGREE);
    geoharm_test::XorShift rng{0x9e3779b97f4a7c15ull};
    const long double h = 1.0L;  // m: central differences
    double worst = 0.0;
    for (int i = 0; i < 200; i++) {
        double p[3];
        geoharm_test::randomPoint(rng, 6.6e6, 2.0e7, p);
        double full[3], central[3];
        geoharm::acceleration(p, 10, 10, full);
        geoharm::acceleration(p, 0, 0, central);
        long double stated[3], size = 0.0L, diff = 0.0L;
        for (int k = 0; k < 3; k++) {
            long double up[3] = {p[0], p[1], p[2]}, down[3] = {p[0], p[1], p[2]};
            up[k] += h;
            down[k] -= h;
            stated[k] = (harmonicPotential(md, up[0], up[1], up[2]) - harmonicPotential(md, down[0], down[1], down[2])) /
                        (2.0L * h);
            const long double computed = static_cast<long double>(full[k]) - central[k];
            diff += (computed - stated[k]) * (computed - stated[k]);
            size += stated[k] * stated[k];
        }
        const double relative = static_cast<double>(std::sqrt(diff / size));
        worst = relative > worst ? relative : worst;
        ASSERT_LT(relative, 1e-9) << "at " << p[0] << " " << p[1] << " " << p[2];
    }
    std::printf("200 points, 6600 to 26600 km: the stated model's gradient within %.1e of the harmonic part\n",
                worst);
}

}  // namespace
