// The gradient's routines against each other, bit for bit (NaN results
// included: every one is the default NaN): the plain stages, the single-point routines (SSE2, AVX2),
// each lane routine (SSE2, AVX2, AVX-512F where the processor runs them)
// on 1 to 64 threads and every remainder of the lane width; the
// acceleration equal to evaluateAcceleration's; the caller's floating-point
// state; central differences of the acceleration against the tensor; the
// point mass alone for N <= 1 or M < 0.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bits.h"
#include "caller_fp_states.h"
#include "machine/cpu_features.h"
#include "many/evaluate_gradient_many.h"
#include "many/many_point_routines.h"
#include "model/field_constants.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"
#include "machine/routine_table.h"
#include "record_io.h"

namespace {

using geoharm::FieldInput;
using geoharm::SimdLevel;

/* One point's results. */
struct Gradient {
    double T[9], a[3], U;
};

/* The same bits; false with a description of the first difference in
   `why`. */
bool sameGradient(const Gradient& want, const Gradient& got, std::string& why) {
    const double* w = want.T;
    const double* g = got.T;
    const char* names[13] = {"Txx", "Txy", "Txz", "Tyx", "Tyy", "Tyz", "Tzx", "Tzy", "Tzz", "ax", "ay", "az", "U"};
    const double wv[13] = {w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], want.a[0], want.a[1], want.a[2], want.U};
    const double gv[13] = {g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], got.a[0], got.a[1], got.a[2], got.U};
    for (int i = 0; i < 13; i++) {
        if (geoharm_test::bitsOf(wv[i]) == geoharm_test::bitsOf(gv[i])) continue;
        why = std::string(names[i]) + ": " + geoharm_test::describe(gv[i]) + " instead of " +
              geoharm_test::describe(wv[i]);
        return false;
    }
    return true;
}

std::string describePoint(const FieldInput& p) {
    char at[160];
    std::snprintf(at, sizeof at, "(%.17g, %.17g, %.17g) N=%d M=%d", p.x, p.y, p.z, p.n, p.m);
    return at;
}

Gradient plainAt(const FieldInput& p) {
    Gradient g;
    geoharm::evaluateGradientPlain(p, g.T, g.a, &g.U);
    return g;
}

/* The committed identity records and random positions: ordinary ones from
   6,400 to 42,000 km, then coordinates across the exponent range and
   special values. */
std::vector<FieldInput> testPositions(std::size_t randomCount, std::uint64_t seed) {
    std::vector<FieldInput> points;
    std::ifstream file(GEOHARM_IDENTITY_RECORDS);
    std::string line, why;
    while (std::getline(file, line)) {
        FieldInput in{};
        if (geoharm::parseRecord(line, in, why) == geoharm::RecordKind::Record) points.push_back(in);
    }
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> dir(0.0, 1.0);
    std::uniform_real_distribution<double> radius(6.4e6, 4.2e7), mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1080, 1030), kind(0, 19), limit(-2, 12);
    const double special[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 5e-324, -DBL_MAX, 1e200, 1e-170};
    std::uniform_int_distribution<int> pick(0, 8);
    for (std::size_t i = 0; i < randomCount; i++) {
        const int k = kind(rng);
        FieldInput in{0, 0, 0, static_cast<std::int8_t>(limit(rng)), static_cast<std::int8_t>(limit(rng))};
        if (k < 14) {
            const double u[3] = {dir(rng), dir(rng), dir(rng)};
            const double s = radius(rng) / std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
            in.x = u[0] * s, in.y = u[1] * s, in.z = u[2] * s;
        } else if (k < 18) {
            in.x = std::ldexp(mantissa(rng), exponent(rng));
            in.y = std::ldexp(mantissa(rng), exponent(rng));
            in.z = std::ldexp(mantissa(rng), exponent(rng));
        } else {
            in.x = special[pick(rng)], in.y = 7.0e6 * mantissa(rng), in.z = special[pick(rng)];
        }
        points.push_back(in);
    }
    return points;
}

/* A point's results through a lane routine, or the whole entry point. */
struct Routine {
    const char* name;
    SimdLevel level;
};

void PrintTo(const Routine& routine, std::ostream* os) { *os << routine.name; }

const Routine LANE_ROUTINES[] = {{"sse2", SimdLevel::SSE2},       {"avx2", SimdLevel::AVX2},
                                 {"avx2_fma", SimdLevel::AVX2_FMA}, {"avx512f", SimdLevel::AVX512F},
                                 {"avx512f_fma", SimdLevel::AVX512F_FMA}};

/* Guard doubles after each output: nothing may be written past the end. */
constexpr std::size_t GUARD = 9;
constexpr double GUARD_VALUE = -1234.5;

/* count points with one N and M through `routine` on `threads` threads,
   against the plain stages; every output wanted unless told otherwise.
   Returns the number of differing points, the first few in `report`. */
long compareLanes(const Routine& routine, int threads, const std::vector<FieldInput>& points, int n, int m,
                  bool wantA, bool wantU, std::string& report) {
    const std::size_t count = points.size();
    std::vector<double> x(count), y(count), z(count);
    for (std::size_t k = 0; k < count; k++) x[k] = points[k].x, y[k] = points[k].y, z[k] = points[k].z;
    std::vector<double> T(9 * (count + GUARD), GUARD_VALUE), ax(count + GUARD, GUARD_VALUE), ay(ax), az(ax), U(ax);
    geoharm::evaluateGradientManyWith(*geoharm::levelRoutines(routine.level), threads, count, x.data(), y.data(), z.data(),
                                      static_cast<std::int8_t>(n), static_cast<std::int8_t>(m), T.data(),
                                      wantA ? ax.data() : nullptr, wantA ? ay.data() : nullptr,
                                      wantA ? az.data() : nullptr, wantU ? U.data() : nullptr);
    long bad = 0;
    for (std::size_t k = 0; k < count; k++) {
        FieldInput p = points[k];
        p.n = static_cast<std::int8_t>(n);
        p.m = static_cast<std::int8_t>(m);
        Gradient want = plainAt(p), got;
        for (int i = 0; i < 9; i++) got.T[i] = T[9 * k + i];
        got.a[0] = ax[k], got.a[1] = ay[k], got.a[2] = az[k], got.U = U[k];
        if (!wantA) got.a[0] = want.a[0], got.a[1] = want.a[1], got.a[2] = want.a[2];
        if (!wantU) got.U = want.U;
        std::string why;
        if (!sameGradient(want, got, why) && bad++ < 5)
            report += std::string(routine.name) + ", " + std::to_string(threads) + " threads, K=" +
                      std::to_string(count) + ", point " + std::to_string(k) + " " + describePoint(p) + ": " + why +
                      "\n";
    }
    /* Nothing written past the end, nor into outputs not wanted. */
    for (std::size_t i = 9 * count; i < T.size(); i++)
        if (geoharm_test::bitsOf(T[i]) != geoharm_test::bitsOf(GUARD_VALUE) && bad++ < 5) report += "T written past the end\n";
    for (std::size_t i = wantA ? count : 0; i < ax.size(); i++)
        if ((ax[i] != GUARD_VALUE || ay[i] != GUARD_VALUE || az[i] != GUARD_VALUE) && bad++ < 5)
            report += "acceleration written where it must not be\n";
    for (std::size_t i = wantU ? count : 0; i < U.size(); i++)
        if (U[i] != GUARD_VALUE && bad++ < 5) report += "U written where it must not be\n";
    return bad;
}

/* Limits that reach every path. */
const std::pair<int, int> LIMITS[] = {{10, 10}, {10, 3}, {10, 0}, {7, 9}, {4, 4}, {3, 1}, {2, 2}, {2, 1}, {2, 0},
                                      {1, 1}, {0, 0}, {-1, 5}, {5, -1}, {12, 12}, {127, -128}, {100, 11}};

class GradientLanes : public ::testing::TestWithParam<Routine> {
  protected:
    void SetUp() override {
        if (geoharm::levelRoutines(GetParam().level) == nullptr)
            GTEST_SKIP() << "this processor does not run the " << GetParam().name << " routine";
    }
};

}  // namespace

TEST(GradientSinglePoint, RoutinesGiveThePlainBitsAndTheAccelerationsBits) {
    /* Each single-point routine, the entry point and the plain stages on the
       identity records and random positions, each with its own limits and
       with every limit above; the acceleration against evaluateAcceleration;
       the tensor symmetric to the bit. */
    std::vector<FieldInput> points = testPositions(3000, 11);
    const std::size_t own = points.size();
    for (std::size_t k = 0; k < 200; k++)
        for (const auto& l : LIMITS) {
            FieldInput p = points[k];
            p.n = static_cast<std::int8_t>(l.first), p.m = static_cast<std::int8_t>(l.second);
            points.push_back(p);
        }
    ASSERT_GT(own, 3000u) << "identity records not read from " << GEOHARM_IDENTITY_RECORDS;
    long bad = 0;
    for (const FieldInput& p : points) {
        const Gradient want = plainAt(p);
        std::vector<std::pair<std::string, Gradient>> got(2);
        got[0].first = "entry";
        geoharm::evaluateGradient(p, got[0].second.T, got[0].second.a, &got[0].second.U);
        got[1] = {"evaluateAcceleration", want};
        geoharm::evaluateAcceleration(p, got[1].second.a);
        /* Each level's one-point routine the processor runs. */
        for (const SimdLevel level : geoharm::SIMD_LEVELS) {
            const geoharm::Routines* routines = geoharm::levelRoutines(level);
            if (routines == nullptr) continue;
            got.push_back({geoharm::levelName(level), Gradient{}});
            Gradient& g = got.back().second;
            routines->pointGradient(p, g.T, g.a, &g.U);
        }
        std::string why;
        for (const auto& g : got)
            if (!sameGradient(want, g.second, why) && bad++ < 5)
                ADD_FAILURE() << g.first << " at " << describePoint(p) << ": " << why;
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < i; j++)
                if (geoharm_test::bitsOf(want.T[3 * i + j]) != geoharm_test::bitsOf(want.T[3 * j + i]) && bad++ < 5)
                    ADD_FAILURE() << "not symmetric at " << describePoint(p);
    }
    EXPECT_EQ(bad, 0);
}

TEST(GradientSinglePoint, PointMassAloneForNoHarmonicTerm) {
    /* N <= 1 for any M and M < 0 for any N: the same tensor and the
       acceleration's point mass, U exactly GM/r; and it is not what the
       first harmonic term gives. */
    const int cases[][2] = {{1, 10}, {0, 10}, {-1, 5}, {-128, 127}, {10, -1}, {127, -128}, {1, 0}, {0, -1}};
    const double positions[][3] = {{7.0e6, 1.0e6, 2.0e6}, {0.0, 0.0, -6.6e6}, {-4.2164e7, 1.0, -0.0}};
    for (const auto& pos : positions) {
        const Gradient first = plainAt({pos[0], pos[1], pos[2], 1, 10});
        const double r = std::sqrt((pos[0] * pos[0] + pos[1] * pos[1]) + pos[2] * pos[2]);
        EXPECT_SAME_BITS(first.U, geoharm::GM / r);
        for (const auto& nm : cases) {
            const FieldInput p{pos[0], pos[1], pos[2], static_cast<std::int8_t>(nm[0]), static_cast<std::int8_t>(nm[1])};
            Gradient g;
            geoharm::evaluateGradient(p, g.T, g.a, &g.U);
            std::string why;
            EXPECT_TRUE(sameGradient(first, g, why)) << describePoint(p) << ": " << why;
        }
        const Gradient j2 = plainAt({pos[0], pos[1], pos[2], 2, 0});
        EXPECT_NE(j2.T[0], first.T[0]);
        EXPECT_NE(j2.U, first.U);
    }
}

TEST(GradientSinglePoint, CentralDifferencesOfTheAccelerationAgreeWithTheTensor) {
    /* (a(x + h e_j) - a(x - h e_j)) / 2h against column j of T: the
       difference must be within the truncation error of the step, which
       the same difference at 2h estimates (it is four times as large, so
       the step-h and step-2h results differ by three times the step-h
       error), plus the rounding of the acceleration (a few units in its
       last place, over 2h). */
    const double positions[][3] = {{7.0e6, 1.0e6, 2.0e6}, {-6.5e6, 2.5e6, -1.5e6}, {1.0, -2.0, 6.4e6},
                                   {2.656e7, 0.0, 0.0},   {4.2164e7, 1.0e6, -3.0e5}};
    for (const auto& pos : positions)
        for (int nm : {10, 4, 2}) {
            const FieldInput p{pos[0], pos[1], pos[2], static_cast<std::int8_t>(nm), static_cast<std::int8_t>(nm)};
            const Gradient g = plainAt(p);
            const double r = std::sqrt(pos[0] * pos[0] + pos[1] * pos[1] + pos[2] * pos[2]);
            const double h = 1.0e-5 * r;
            const double aNorm = std::sqrt(g.a[0] * g.a[0] + g.a[1] * g.a[1] + g.a[2] * g.a[2]);
            for (int j = 0; j < 3; j++) {
                double d1[3], d2[3];
                for (int step = 1; step <= 2; step++) {
                    FieldInput plus = p, minus = p;
                    (&plus.x)[j] += step * h;
                    (&minus.x)[j] -= step * h;
                    double ap[3], am[3];
                    geoharm::evaluateAcceleration(plus, ap);
                    geoharm::evaluateAcceleration(minus, am);
                    for (int i = 0; i < 3; i++) (step == 1 ? d1 : d2)[i] = (ap[i] - am[i]) / (2.0 * step * h);
                }
                for (int i = 0; i < 3; i++) {
                    const double truncation = std::fabs(d2[i] - d1[i]) / 3.0;
                    const double rounding = 8.0 * DBL_EPSILON * aNorm / (2.0 * h);
                    EXPECT_LE(std::fabs(d1[i] - g.T[3 * i + j]), 2.0 * truncation + rounding)
                        << describePoint(p) << " T(" << i << "," << j << ") = " << g.T[3 * i + j] << ", difference "
                        << d1[i] << ", at 2h " << d2[i];
                }
            }
        }
}

TEST_P(GradientLanes, EveryPointAsThePlainStages) {
    /* Each record with its own limits through the routine, then every
       position with each limit; all outputs, then without the acceleration
       or without the potential. */
    const std::vector<FieldInput> points = testPositions(2000, 23);
    std::string report;
    long bad = 0;
    for (const FieldInput& p : points) bad += compareLanes(GetParam(), 1, {p}, p.n, p.m, true, true, report);
    for (const auto& l : LIMITS) bad += compareLanes(GetParam(), 1, points, l.first, l.second, true, true, report);
    bad += compareLanes(GetParam(), 1, points, 10, 10, false, true, report);
    bad += compareLanes(GetParam(), 1, points, 10, 10, true, false, report);
    bad += compareLanes(GetParam(), 1, points, 6, 3, false, false, report);
    EXPECT_EQ(bad, 0) << report;
}

TEST_P(GradientLanes, EveryRemainderAndAnyNumberOfThreads) {
    std::string report;
    long bad = 0;
    for (std::size_t count = 0; count <= 40; count++) {
        const std::vector<FieldInput> points = testPositions(count, 100 + count);
        std::vector<FieldInput> own(points.end() - static_cast<std::ptrdiff_t>(count), points.end());
        bad += compareLanes(GetParam(), 1, own, 10, 10, true, true, report);
        bad += compareLanes(GetParam(), 1, own, 3, 2, count % 2 == 0, count % 3 == 0, report);
    }
    for (std::size_t count : {13u, 100u, 9001u}) {
        std::vector<FieldInput> points = testPositions(count, 5 + count);
        points.erase(points.begin(), points.end() - static_cast<std::ptrdiff_t>(count));
        for (int threads : {2, 3, 7, 64, 70}) bad += compareLanes(GetParam(), threads, points, 10, 10, true, true, report);
    }
    EXPECT_EQ(bad, 0) << report;
}

INSTANTIATE_TEST_SUITE_P(Routines, GradientLanes, ::testing::ValuesIn(LANE_ROUTINES),
                         [](const ::testing::TestParamInfo<Routine>& r) { return std::string(r.param.name); });

TEST(GradientEntries, EveryCallerStateGivesTheSameBitsAndGetsItsStateBack) {
    /* evaluateGradient and evaluateGradientMany called from each caller
       state (flags already raised), at positions that divide by zero,
       overflow, underflow or meet subnormal values: the default state's
       bits, no trap, the caller's MXCSR back exactly. */
    const double INF = std::numeric_limits<double>::infinity();
    const FieldInput positions[] = {
        {7.0e6, 1.0e6, 2.0e6, 10, 10},   {0.0, 0.0, 0.0, 10, 10},         {-0.0, 0.0, -0.0, 0, 0},
        {NAN, 1.0e6, 2.0e6, 10, 10},     {INF, 1.0e6, 2.0e6, 10, 10},     {1.0e154, 1.0e154, 1.0e154, 10, 10},
        {1.0e-17, 2.0e-17, 0.0, 10, 10}, {4.9e-324, 7.0e6, 1.0e6, 10, 10}, {7.0e6, 1.0e-310, -2.5e-320, 4, 2},
        {6378137.0, 0.0, 1.0e-300, 10, 10}, {1.0e20, 1.0e20, -1.0e20, 10, 10}};
    const unsigned int testState = _mm_getcsr();
    const unsigned int raisedBefore = 0x0028u;
    for (const FieldInput& p : positions) {
        const Gradient want = plainAt(p);
        for (const geoharm::CallerFpState& s : geoharm::CALLER_FP_STATES) {
            const unsigned int caller = s.mxcsr | raisedBefore;
            Gradient one, many;
            _mm_setcsr(caller);
            geoharm::evaluateGradient(p, one.T, one.a, &one.U);
            const unsigned int afterOne = _mm_getcsr();
            geoharm::evaluateGradientMany(1, &p.x, &p.y, &p.z, p.n, p.m, many.T, &many.a[0], &many.a[1], &many.a[2],
                                          &many.U);
            const unsigned int afterMany = _mm_getcsr();
            _mm_setcsr(testState);
            std::string why;
            EXPECT_TRUE(sameGradient(want, one, why)) << s.name << " " << describePoint(p) << ": " << why;
            EXPECT_TRUE(sameGradient(want, many, why)) << s.name << " many " << describePoint(p) << ": " << why;
            EXPECT_EQ(afterOne, caller) << s.name;
            EXPECT_EQ(afterMany, caller) << s.name;
        }
    }
    /* No point: nothing read or written. */
    geoharm::evaluateGradientMany(0, nullptr, nullptr, nullptr, 10, 10, nullptr, nullptr, nullptr, nullptr, nullptr);
}
