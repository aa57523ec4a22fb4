// Non-finite and extreme positions through the built plug-in: nothing
// traps, the host's floating-point modes survive the call, and the results
// are what IEEE arithmetic makes of the evaluation's steps
//   r = sqrt((x*x + y*y) + z*z),  s = r*r,  gmr2 = GM/s,  q = R_REF/s,
//   x0 = x*q ...,  a_x = sum_x - (gmr2*x)/r ...
// as the README's table states them, for every N and M in -2..12.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "bits.h"
#include "plugin_under_test.h"

namespace {

using geoharm::host::Array;
using geoharm::host::CallResult;
using geoharm::host::makePosition;
using geoharm::host::makeScalar;

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double BIG = std::numeric_limits<double>::max();
const double TINY = std::numeric_limits<double>::denorm_min();
/* The largest r whose square r*r is finite (sqrt rounds down here). */
const double ROOT_MAX = std::sqrt(BIG);
const long double GM = 398600446148608.0L;

struct Result {
    double a[3];
};

/* One call with int8 limits; the output must exist and be 3x1. */
Result callAt(double x, double y, double z, int n, int m) {
    const Array pos = makePosition(x, y, z);
    const Array nArg = makeScalar(geoharm::INT8_CLASS, n);
    const Array mArg = makeScalar(geoharm::INT8_CLASS, m);
    const CallResult r = geoharm_test::callWith({&pos, &nArg, &mArg});
    Result out{{NaN, NaN, NaN}};
    EXPECT_TRUE(r.ok) << r.error.identifier;
    if (r.ok) std::memcpy(out.a, r.output.data(), sizeof out.a);
    return out;
}

/* Runs `check` for every N, M in -2..12 at the position. */
void forEveryLimit(double x, double y, double z, const std::function<void(const Result&, int, int)>& check) {
    for (int n = -2; n <= 12; n++) {
        for (int m = -2; m <= 12; m++) {
            SCOPED_TRACE("x=" + geoharm_test::describe(x) + " y=" + geoharm_test::describe(y) +
                         " z=" + geoharm_test::describe(z) + " N=" + std::to_string(n) + " M=" + std::to_string(m));
            check(callAt(x, y, z, n, m), n, m);
        }
    }
}

TEST(ExtremePositions, OriginAndNaNCoordinatesGiveNaN) {
    // r = 0 makes gmr2 infinite and (gmr2*0)/0 NaN; a NaN coordinate makes r NaN.
    const double positions[][3] = {{0.0, 0.0, 0.0},   {-0.0, 0.0, 0.0},  {0.0, -0.0, -0.0}, {-0.0, -0.0, -0.0},
                                   {NaN, 1e7, 1e7},   {1e7, NaN, -2e6},  {0.0, 0.0, NaN},   {NaN, INF, 0.0},
                                   {-NaN, 7e6, 0.0}};
    for (const auto& p : positions) {
        forEveryLimit(p[0], p[1], p[2], [](const Result& r, int, int) {
            for (double v : r.a) EXPECT_TRUE(geoharm_test::isDefaultNan(v)) << geoharm_test::describe(v);
        });
    }
}

TEST(ExtremePositions, InfiniteCoordinateGivesNaNAlongItAndZeroOrNaNElsewhere) {
    // r = inf: gmr2 = q = rho = +0; the infinite coordinate's product
    // inf*0 is NaN, a finite one's (gmr2*x)/r is a zero, and 0.0 minus a
    // zero is +0.0.  The harmonic terms carry the NaN of the infinite
    // scaled coordinate into a component wherever they read it.
    const double others[] = {0.0, -0.0, 1e7, -3e6};
    for (int axis = 0; axis < 3; axis++) {
        for (double sign : {1.0, -1.0}) {
            for (double o : others) {
                double p[3] = {o, -o, 2.0 * o};
                p[axis] = sign * INF;
                forEveryLimit(p[0], p[1], p[2], [axis](const Result& r, int n, int m) {
                    EXPECT_TRUE(geoharm_test::isDefaultNan(r.a[axis])) << geoharm_test::describe(r.a[axis]);
                    for (int i = 0; i < 3; i++) {
                        if (i == axis) continue;
                        if (n <= 0 || m < 0) {
                            EXPECT_SAME_BITS(r.a[i], 0.0);  // central term alone
                        } else {
                            EXPECT_TRUE(geoharm_test::isDefaultNan(r.a[i]) || geoharm_test::bitsOf(r.a[i]) == 0)
                                << geoharm_test::describe(r.a[i]);
                        }
                    }
                });
            }
        }
    }
}

TEST(ExtremePositions, WhereRSquaredOverflowsTheResultIsPositiveZero) {
    // r*r = inf: gmr2, q and rho are +0 and every term is a zero, so each
    // component is +0.0, although GM/r^2 (below 2.3e-294) is not quite 0.
    const double above = std::nextafter(ROOT_MAX, INF);
    const double positions[][3] = {{above, 0.0, 0.0}, {0.0, -above, 0.0},  {0.0, 0.0, above},
                                   {1e154, 1e154, 1e154}, {-1e154, 1e154, -1e154}, {1e200, -1e200, 3.0},
                                   {BIG, 0.0, 0.0},   {-BIG, BIG, -BIG},   {1e300, 7e6, -0.0}};
    for (const auto& p : positions) {
        forEveryLimit(p[0], p[1], p[2], [](const Result& r, int, int) {
            for (double v : r.a) EXPECT_SAME_BITS(v, 0.0);
        });
    }
}

TEST(ExtremePositions, JustInsideTheRangeTheCentralTermRemains) {
    // Where r*r is just finite (r = sqrt(DBL_MAX)) the harmonic terms
    // underflow; where GM/r^2 is just finite (r = 1.5e-147 m) the central
    // term alone (N <= 0) is still a number.  a_x = -GM/x^2 to a few ulps
    // (reference in long double), a_y = a_z = 0.
    struct Case {
        double x;
        int nLow, nHigh;
    };
    const Case cases[] = {{ROOT_MAX, -2, 12}, {-ROOT_MAX, -2, 12}, {1e150, -2, 12}, {1.5e-147, -2, 0},
                          {-1.5e-147, -2, 0}};
    for (const Case& c : cases) {
        for (int n = c.nLow; n <= c.nHigh; n++) {
            SCOPED_TRACE("x=" + geoharm_test::describe(c.x) + " N=" + std::to_string(n));
            const Result r = callAt(c.x, 0.0, 0.0, n, 10);
            const long double want = -GM / (static_cast<long double>(c.x) * c.x) * (c.x < 0 ? -1 : 1);
            EXPECT_NEAR(static_cast<double>(r.a[0] / want), 1.0, 1e-14) << geoharm_test::describe(r.a[0]);
            EXPECT_EQ(r.a[1], 0.0);
            EXPECT_EQ(r.a[2], 0.0);
        }
    }
}

TEST(ExtremePositions, BelowTheCentralTermsRangeItIsInfiniteAndNaN) {
    // r < about 1.489e-147 m: GM/r^2 overflows.  The central term alone
    // (N <= 0 or M < 0) is then -inf*sign(x) along a non-zero coordinate
    // and NaN (inf*0) along a zero one.
    for (double x : {1.48e-147, -1e-150, 1e-170, TINY}) {
        for (int n : {-2, 0}) {
            const Result r = callAt(x, 0.0, -0.0, n, 10);
            EXPECT_SAME_BITS(r.a[0], x > 0 ? -INF : INF);
            EXPECT_TRUE(geoharm_test::isDefaultNan(r.a[1]));
            EXPECT_TRUE(geoharm_test::isDefaultNan(r.a[2]));
        }
    }
}

TEST(ExtremePositions, SubnormalCoordinateBesideOrdinaryOnesActsAsZeroOfItsSign) {
    // Below about 1e-318 m beside an ordinary position (|r| of thousands
    // of km) its square underflows to 0 beside the others', and its scaled
    // value x*q (q ~ 1e-7 /m) and central product (gmr2*x)/r (gmr2/r ~
    // 1e-6 /s^2) underflow to a zero of its sign.  (Larger subnormals give
    // subnormal, non-zero terms: they are numbers like any other.)
    struct Pair {
        double tiny[3];
        double zeroed[3];
    };
    const Pair pairs[] = {
        {{TINY, 7000000.0, 0.0}, {0.0, 7000000.0, 0.0}},
        {{7000000.0, -TINY, 1e-321}, {7000000.0, -0.0, 0.0}},
        {{-1e-320, 4e-320, 6600000.0}, {-0.0, 0.0, 6600000.0}},
        {{26560000.0, 4e-320, -TINY}, {26560000.0, 0.0, -0.0}},
    };
    for (const Pair& p : pairs) {
        forEveryLimit(p.tiny[0], p.tiny[1], p.tiny[2], [&p](const Result& r, int n, int m) {
            const Result z = callAt(p.zeroed[0], p.zeroed[1], p.zeroed[2], n, m);
            for (int i = 0; i < 3; i++) EXPECT_SAME_BITS(r.a[i], z.a[i]);
        });
    }
}

TEST(ExtremePositions, NoTrapAndTheHostsFloatingPointModesSurvive) {
    // The calls above and these run with the default environment (every
    // exception masked): the process is still here.  The plug-in must not
    // change the rounding mode or unmask an exception on the host's thread.
    const int rounding = std::fegetround();
    const int enabled = fegetexcept();
    std::feclearexcept(FE_ALL_EXCEPT);
    const double positions[][3] = {{0.0, 0.0, 0.0}, {INF, NaN, -INF}, {BIG, BIG, BIG}, {TINY, TINY, TINY},
                                   {1e-19, 0.0, 0.0}, {7000000.0, 1000000.0, 2000000.0}};
    for (const auto& p : positions) forEveryLimit(p[0], p[1], p[2], [](const Result&, int, int) {});
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    std::printf("extreme positions: exception flags raised (masked): %s%s%s%s%s\n",
                raised & FE_INVALID ? "invalid " : "", raised & FE_DIVBYZERO ? "divide-by-zero " : "",
                raised & FE_OVERFLOW ? "overflow " : "", raised & FE_UNDERFLOW ? "underflow " : "",
                raised & FE_INEXACT ? "inexact" : "");
    EXPECT_EQ(std::fegetround(), rounding);
    EXPECT_EQ(fegetexcept(), enabled);
}

}  // namespace
