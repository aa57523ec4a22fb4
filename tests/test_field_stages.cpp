// Each stage of the evaluation against the intermediate values published
// with the model, checked where they are produced.
#include <gtest/gtest.h>

#include <cmath>

#include "bits.h"
#include "model/coefficient_tables.h"
#include "point/field_scalars.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"

using geoharm::FieldScalars;
using geoharm::harmonicIndex;
using geoharm::HARMONIC_SIZE;

namespace {

/* Arrays pre-filled with a marker so that the tests can see what a fill
   wrote and what it left alone. */
struct Arrays {
    double V[HARMONIC_SIZE];
    double W[HARMONIC_SIZE];
    Arrays() {
        for (int i = 0; i < HARMONIC_SIZE; i++) V[i] = W[i] = MARKER;
    }
    static constexpr double MARKER = 12345.0;
    double v(int n, int m) const { return V[harmonicIndex(n, m)]; }
    double w(int n, int m) const { return W[harmonicIndex(n, m)]; }
    bool written(int n, int m) const { return v(n, m) != MARKER && w(n, m) != MARKER; }
};

Arrays fill(const FieldScalars& sc, int N, int M) {
    Arrays a;
    geoharm::fillHarmonicArrays(sc, N, M, a.V, a.W);
    return a;
}

const FieldScalars FIRST = geoharm::computeFieldScalars(7000000.0, 1000000.0, 2000000.0);

}  // namespace

TEST(Stages, ScalarsOfTheFirstPosition) {
    EXPECT_SAME_BITS(FIRST.r, 7348469.228349534);
    EXPECT_SAME_BITS(FIRST.gmr2, 7.381489743492742);
    /* The quotients share s = r*r, the square of the rounded distance. */
    EXPECT_SAME_BITS(FIRST.s, FIRST.r * FIRST.r);
    EXPECT_SAME_BITS(FIRST.rho, 40680631590769.0 / FIRST.s);
    EXPECT_SAME_BITS(FIRST.x0, 7000000.0 * (6378137.0 / FIRST.s));
}

TEST(Stages, HarmonicFunctionsOfTheFirstPosition) {
    const Arrays a = fill(FIRST, 10, 10);
    struct Entry {
        int n, m;
        double v, w;
        bool hasV; /* only W(11,11) is published at the top corner */
    };
    const Entry table[] = {
        {0, 0, 0.8679545088647707, 0.0, true},
        {1, 0, 0.20503454693730452, 0.0, true},
        {2, 0, -0.25428247251926145, 0.0, true},
        {3, 0, -0.2030886061662919, 0.0, true},
        {1, 1, 0.717620914280566, 0.10251727346865226, true},
        {2, 1, 0.5085649450385229, 0.07265213500550327, true},
        {3, 1, -0.5105819183194805, -0.07294027404564005, true},
        {2, 2, 1.743651240132079, 0.5085649450385229, true},
        {3, 3, 6.907873012557678, 3.132141179606897, true},
        {11, 11, 0.0, 1645858229.0391805, false},
    };
    for (const Entry& e : table) {
        SCOPED_TRACE(testing::Message() << "(n, m) = (" << e.n << ", " << e.m << ")");
        if (e.hasV) {
            EXPECT_SAME_BITS(a.v(e.n, e.m), e.v);
        }
        EXPECT_SAME_BITS(a.w(e.n, e.m), e.w);
    }
    /* Zonal W entries are +0.0, not merely zero. */
    for (int n = 0; n <= 11; n++) EXPECT_SAME_BITS(a.w(n, 0), 0.0) << "n=" << n;
}

TEST(Stages, FillWritesExactlyTheEntriesItIsAskedFor) {
    /* Which entries each (N, M) writes: the highest degree N+1 in every
       column up to M+1 (only the diagonal above it), nothing beyond. */
    const int cases[][2] = {{10, 10}, {-1, 3}, {0, 0}, {0, 5}, {3, -1}, {-5, -5}, {4, 2}, {2, 7}};
    for (const auto& nm : cases) {
        const int N = nm[0], M = nm[1];
        const Arrays a = fill(FIRST, N, M);
        for (int m = 0; m <= 11; m++) {
            for (int n = 0; n <= 11; n++) {
                bool expected;
                if (m == 0)
                    expected = n <= 1 || n <= N + 1;
                else if (m > M + 1 || n < m)
                    expected = false;
                else
                    expected = n == m || n <= N + 1;
                EXPECT_EQ(a.written(n, m), expected) << "N=" << N << " M=" << M << " (n, m) = (" << n
                                                     << ", " << m << ")";
            }
        }
    }
}

TEST(Stages, LowerLimitsLeaveTheEntriesTheyComputeUnchanged) {
    /* Entries do not depend on how far the fill goes. */
    const Arrays full = fill(FIRST, 10, 10);
    const int cases[][2] = {{0, 0}, {3, 1}, {-1, 4}, {7, 2}};
    for (const auto& nm : cases) {
        const Arrays part = fill(FIRST, nm[0], nm[1]);
        for (int m = 0; m <= 11; m++) {
            for (int n = 0; n <= 11; n++) {
                if (!part.written(n, m)) continue;
                EXPECT_SAME_BITS(part.v(n, m), full.v(n, m));
                EXPECT_SAME_BITS(part.w(n, m), full.w(n, m));
            }
        }
    }
}

TEST(Stages, PolarAxisZeroesEveryNonZonalEntry) {
    for (double z : {6.6e6, -7.1e6}) {
        const Arrays a = fill(geoharm::computeFieldScalars(0.0, -0.0, z), 10, 10);
        for (int m = 1; m <= 11; m++)
            for (int n = m; n <= 11; n++) {
                EXPECT_EQ(a.v(n, m), 0.0) << n << "," << m;
                EXPECT_EQ(a.w(n, m), 0.0) << n << "," << m;
            }
        for (int n = 0; n <= 11; n++) EXPECT_NE(a.v(n, 0), 0.0);
    }
}

TEST(Stages, SumsBeforeTheCentralTerm) {
    struct Case {
        double x, y, z;
        double ax, ay, az;
    };
    const Case cases[] = {
        {7000000.0, 1000000.0, 2000000.0, -0.005471115599375136, -0.0008276543218420961,
         -0.0064598003899896195},
        {488603.552, 8134012.108, -9947002.437, 7.562598518046323e-05, 0.001211940326712549,
         3.263690263062003e-06},
    };
    for (const Case& c : cases) {
        const Arrays a = fill(geoharm::computeFieldScalars(c.x, c.y, c.z), 10, 10);
        double sum[3];
        geoharm::sumHarmonicTerms(10, 10, a.V, a.W, sum);
        EXPECT_SAME_BITS(sum[0], c.ax);
        EXPECT_SAME_BITS(sum[1], c.ay);
        EXPECT_SAME_BITS(sum[2], c.az);
    }
}

TEST(Stages, NoTermGivesPositiveZeroSums) {
    const Arrays a = fill(FIRST, 10, 10);
    const int cases[][2] = {{0, 10}, {1, 10}, {-3, 2}, {10, -1}};
    for (const auto& nm : cases) {
        double sum[3] = {1.0, 1.0, 1.0};
        geoharm::sumHarmonicTerms(nm[0], nm[1], a.V, a.W, sum);
        for (double s : sum) EXPECT_SAME_BITS(s, 0.0) << "N=" << nm[0] << " M=" << nm[1];
    }
}

TEST(Stages, ZonalSumsFollowTheirClosedForm) {
    /* M = 0: ax, ay from -C(n,0) V/W(n+1,1) K1; az from -(n+1) C(n,0) V(n+1,0) K1. */
    const Arrays a = fill(FIRST, 10, 0);
    double ax = 0.0, ay = 0.0, az = 0.0;
    for (int n = 1; n <= 10; n++) {
        const double C = geoharm::coefC(n, 0);
        ax -= (C * a.v(n + 1, 1)) * geoharm::K1;
        ay -= (C * a.w(n + 1, 1)) * geoharm::K1;
        az += (static_cast<double>(n + 1) * -(C * a.v(n + 1, 0))) * geoharm::K1;
    }
    double sum[3];
    geoharm::sumHarmonicTerms(10, 0, a.V, a.W, sum);
    EXPECT_SAME_BITS(sum[0], ax);
    EXPECT_SAME_BITS(sum[1], ay);
    EXPECT_SAME_BITS(sum[2], az);
}
