// The whole evaluation against the model's published results, and the
// cases whose answer follows from the structure of the model.
#include <gtest/gtest.h>

#include <cmath>

#include "bits.h"
#include "point/evaluate_acceleration.h"
#include "point/field_scalars.h"
#include "worked_examples.h"

using geoharm::evaluateAcceleration;
using geoharm::FieldInput;
using geoharm_test::WORKED_EXAMPLES;

namespace {

struct Result {
    double a[3];
};

Result eval(double x, double y, double z, int n, int m) {
    const FieldInput in{x, y, z, static_cast<std::int8_t>(n), static_cast<std::int8_t>(m)};
    Result r;
    evaluateAcceleration(in, r.a);
    return r;
}

void expectSame(const Result& got, const Result& want) {
    for (int i = 0; i < 3; i++) EXPECT_SAME_BITS(got.a[i], want.a[i]) << "component " << i;
}

/* The point-mass term alone, written out as the model defines it. */
Result centralOnly(double x, double y, double z) {
    const geoharm::FieldScalars sc = geoharm::computeFieldScalars(x, y, z);
    return {{0.0 - (sc.gmr2 * x) / sc.r, 0.0 - (sc.gmr2 * y) / sc.r, 0.0 - (sc.gmr2 * z) / sc.r}};
}

const double POSITIONS[][3] = {
    {7000000.0, 1000000.0, 2000000.0},  {-6500000.0, 2500000.0, -1500000.0},
    {4000000.0, -4000000.0, 4000000.0}, {488603.552, 8134012.108, -9947002.437},
    {26560000.0, 0.0, 0.0},             {-42164000.0, 1.0, -0.0},
};

}  // namespace

TEST(Pipeline, WorkedExamplesBitForBit) {
    for (const auto& w : WORKED_EXAMPLES) {
        SCOPED_TRACE(testing::Message() << "(" << w.x << ", " << w.y << ", " << w.z << ") N=" << w.n
                                        << " M=" << w.m);
        expectSame(eval(w.x, w.y, w.z, w.n, w.m), {{w.ax, w.ay, w.az}});
    }
}

TEST(Pipeline, CentralTermAloneWhenNoHarmonicTerm) {
    /* N <= 1 for any M, and M < 0 for any N, leave only the point mass. */
    const int cases[][2] = {{1, 10}, {0, 10}, {-1, 5}, {-128, 127}, {10, -1}, {127, -128}, {1, 0}, {0, -1}};
    for (const auto& p : POSITIONS) {
        for (const auto& nm : cases) {
            SCOPED_TRACE(testing::Message() << "N=" << nm[0] << " M=" << nm[1] << " x=" << p[0]);
            expectSame(eval(p[0], p[1], p[2], nm[0], nm[1]), centralOnly(p[0], p[1], p[2]));
        }
    }
}

TEST(Pipeline, OrderAboveDegreeAddsNothing) {
    for (const auto& p : POSITIONS) {
        for (int n = 0; n <= 10; n++) {
            for (int m = n + 1; m <= 10; m++) {
                SCOPED_TRACE(testing::Message() << "N=" << n << " M=" << m << " x=" << p[0]);
                expectSame(eval(p[0], p[1], p[2], n, m), eval(p[0], p[1], p[2], n, n));
            }
        }
    }
}

TEST(Pipeline, LimitsAboveTenAreClampedToTen) {
    /* The model ends at degree 10: asking for more gives exactly degree 10,
       with the arrays and tables read only within their bounds. */
    const int cases[][2] = {{127, 127}, {11, 11}, {127, 10}, {10, 127}, {100, 3}, {4, 100}};
    for (const auto& p : POSITIONS) {
        for (const auto& nm : cases) {
            const int n = nm[0] > 10 ? 10 : nm[0];
            const int m = nm[1] > 10 ? 10 : nm[1];
            SCOPED_TRACE(testing::Message() << "N=" << nm[0] << " M=" << nm[1]);
            expectSame(eval(p[0], p[1], p[2], nm[0], nm[1]), eval(p[0], p[1], p[2], n, m));
        }
    }
}

TEST(Pipeline, PolarAxisKeepsOnlyZonalAndOrderOneTerms) {
    /* On the axis every V, W of order >= 1 is a signed zero: a_z takes the
       zonal terms only, a_x and a_y only the order-1 terms through V(n+1,0). */
    const double zs[] = {6600000.0, -6600000.0, 7.0e6, -4.2164e7};
    for (double z : zs) {
        for (double x : {0.0, -0.0}) {
            SCOPED_TRACE(testing::Message() << "x=" << x << " z=" << z);
            const Result full = eval(x, x, z, 10, 10);
            const Result zonal = eval(x, x, z, 10, 0);
            const Result orderOne = eval(x, x, z, 10, 1);
            EXPECT_SAME_BITS(full.a[2], zonal.a[2]);
            EXPECT_SAME_BITS(full.a[0], orderOne.a[0]);
            EXPECT_SAME_BITS(full.a[1], orderOne.a[1]);
            /* The tesseral C(n,1), S(n,1) do pull sideways on the axis. */
            EXPECT_NE(full.a[0], 0.0);
            EXPECT_NE(full.a[1], 0.0);
        }
    }
}

TEST(Pipeline, OriginGivesNaN) {
    for (int nm : {0, 2, 10}) {
        const Result r = eval(0.0, 0.0, 0.0, nm, nm);
        for (double c : r.a) EXPECT_TRUE(std::isnan(c)) << "N=M=" << nm;
    }
}

TEST(Pipeline, NonFiniteCoordinatesPassThroughWithoutTrap) {
    const double inf = INFINITY;
    const double nan = NAN;
    const double cases[][3] = {{inf, 0.0, 0.0}, {nan, 1.0e7, 0.0}, {1.0e7, -inf, 2.0}, {1e200, 1e200, 1e200}};
    for (const auto& p : cases) {
        const Result r = eval(p[0], p[1], p[2], 10, 10);
        /* Nothing sensible can come out, but nothing finite and wrong may
           either: every component is NaN or zero. */
        for (double c : r.a) EXPECT_TRUE(std::isnan(c) || c == 0.0) << geoharm_test::describe(c);
    }
}
