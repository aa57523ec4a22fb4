/*
 * test_cycle_cos_sin.cpp - cos and sin of a phase in cycles: exact at
 * quarter turns, within 0.8 ulp of 113-bit values (Linux builds with
 * libquadmath), the same bits on every build.
 */
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "bits.h"
#include "models/cycle_cos_sin.h"

#ifdef GEOHARM_HAVE_QUADMATH
#include <quadmath.h>
#endif

using geoharm::cycleCosSin;

namespace {

TEST(CycleCosSin, QuarterTurnsAreExact) {
    const struct {
        double f, c, s;
    } cases[] = {
        {0.0, 1.0, 0.0},   {0.25, 0.0, 1.0},  {0.5, -1.0, 0.0},   {0.75, 0.0, -1.0},        {1.0, 1.0, 0.0},
        {-0.25, 0.0, -1.0}, {-0.5, -1.0, 0.0}, {-1.75, 0.0, 1.0}, {1e6 + 0.25, 0.0, 1.0},   {-0.0, 1.0, 0.0},
        {9007199254740992.0, 1.0, 0.0},      {4503599627370497.0, 1.0, 0.0}, {2251799813685248.5, -1.0, 0.0},
    };
    for (const auto& q : cases) {
        double c = 2.0, s = 2.0;
        cycleCosSin(q.f, &c, &s);
        EXPECT_SAME_BITS(c, q.c) << "f = " << q.f;
        EXPECT_SAME_BITS(s, q.s) << "f = " << q.f;
    }
}

/* Whole turns add nothing: f and f + k give the same bits (f a multiple
   of 2^-20, so that f + k is exact). */
TEST(CycleCosSin, WholeTurnsChangeNothing) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 10000; i++) {
        double f = std::ldexp(static_cast<double>(random() % (1u << 20)), -20);
        double k = static_cast<double>(static_cast<int>(random() % 2001) - 1000);
        double c0, s0, c1, s1;
        cycleCosSin(f, &c0, &s0);
        cycleCosSin(f + k, &c1, &s1);
        ASSERT_SAME_BITS(c0, c1) << f << " + " << k;
        ASSERT_SAME_BITS(s0, s1) << f << " + " << k;
    }
}

TEST(CycleCosSin, WithinUlpOfExactValues) {
#ifndef GEOHARM_HAVE_QUADMATH
    GTEST_SKIP() << "113-bit reference (libquadmath) on Linux builds only";
#else
    const __float128 twoPi = 8 * atanq(static_cast<__float128>(1));
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    double worst = 0.0;
    for (int i = 0; i < 300000; i++) {
        double f = unit(random) * (i % 3 == 0 ? 1.0 : i % 3 == 1 ? 1e-3 : 300.0);
        double cs[2];
        cycleCosSin(f, &cs[0], &cs[1]);
        __float128 angle = twoPi * f, exact[2] = {cosq(angle), sinq(angle)};
        for (int j = 0; j < 2; j++) {
            double nearest = static_cast<double>(exact[j]);
            if (std::fabs(nearest) < 1e-300) continue;
            double ulp = std::nextafter(std::fabs(nearest), INFINITY) - std::fabs(nearest);
            double error = static_cast<double>(fabsq((cs[j] - exact[j]) / ulp));
            if (error > worst) worst = error;
            ASSERT_LT(error, 0.8) << (j == 0 ? "cos" : "sin") << " at f = " << geoharm_test::describe(f);
        }
    }
    RecordProperty("worst_ulp", std::to_string(worst));
#endif
}

/* The Linux build's bits: every build must give them. */
TEST(CycleCosSin, SameBitsOnEveryBuild) {
    const struct {
        double f;
        std::uint64_t c, s;
    } cases[] = {
        {0.1, 0x3FE9E3779B97F4A8u, 0x3FE2CF2304755A5Eu},
        {-0.3, 0xBFD3C6EF372FE94Eu, 0xBFEE6F0E13445500u},
        {12.345678, 0xBFE2196896E220F9u, 0x3FEA63C4610B5280u},
        {1e-10, 0x3FF0000000000000u, 0x3E0596BF8CE7631Eu},
        {0.4999999999, 0xBFF0000000000000u, 0x3E0596BFAADF5C18u},
        {-123.456789, 0xBFEED3EB31E31980u, 0xBFD129D9FC28FCACu},
    };
    for (const auto& q : cases) {
        double c, s;
        cycleCosSin(q.f, &c, &s);
        EXPECT_SAME_BITS(c, geoharm_test::doubleOf(q.c)) << q.f;
        EXPECT_SAME_BITS(s, geoharm_test::doubleOf(q.s)) << q.f;
    }
}

}  // namespace
