// The fast path (fused, paired recursion and summation) against the plain
// stages, bit for bit, over positions and limits chosen to reach every
// branch and every IEEE special case: random points, the axes and poles
// with signed zeros, near-polar points, coordinates whose squares overflow
// or underflow, subnormal, infinite and NaN coordinates, the origin, and
// every N, M from -2 to 12 with the 8-bit extremes, NaN results included
// (both store the default NaN).  The sums, inside the evaluation, match
// NaN with any NaN (the rule applies where results leave it).  They are
// checked through the routine the processor gets and through each of the
// SSE2, AVX2 and AVX-512 routines directly (each where the processor runs
// it).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bits.h"
#include "point/evaluate_acceleration.h"
#include "point/field_scalars.h"
#include "machine/routine_table.h"
#include "point/fused_harmonic_sums.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"
#include "worked_examples.h"

using geoharm::FieldScalars;

namespace {

const double INF = INFINITY;

/* Counts disagreements and keeps the first few for the failure message;
   with anyNaN, a NaN matches any NaN (values inside the evaluation). */
struct Mismatches {
    bool anyNaN = false;
    long count = 0;
    long compared = 0;
    std::string first;

    void check(const double got[3], const double want[3], const std::string& where) {
        compared++;
        for (int i = 0; i < 3; i++) {
            if (geoharm_test::bitsOf(got[i]) == geoharm_test::bitsOf(want[i])) continue;
            if (anyNaN && std::isnan(got[i]) && std::isnan(want[i])) continue;
            if (count++ < 5)
                first += where + " component " + std::to_string(i) + ": fast " + geoharm_test::describe(got[i]) +
                         ", plain " + geoharm_test::describe(want[i]) + "\n";
        }
    }
};

std::string where(double x, double y, double z, int n, int m) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "(%.17g, %.17g, %.17g) N=%d M=%d", x, y, z, n, m);
    return buf;
}

/* Coordinates with special values in every combination: signed zeros,
   squares that underflow (1e-170) or overflow (1e200), subnormals, the
   largest double, infinities and NaN beside ordinary distances. */
std::vector<std::vector<double>> specialPositions() {
    const double values[] = {0.0,   -0.0, 1.0,     -7.1e6, 6378137.0, 1e-170, -5e-324, 1e-310,
                             1e200, -DBL_MAX, INF, -INF, NAN};
    std::vector<std::vector<double>> pts;
    for (double x : values)
        for (double y : values)
            for (double z : values) pts.push_back({x, y, z});
    return pts;
}

/* Ordinary positions: random directions at 6,400..42,000 km, the axes and
   poles with both zeros, near-polar points, and random points whose
   coordinates span the whole exponent range. */
std::vector<std::vector<double>> ordinaryPositions() {
    std::vector<std::vector<double>> pts;
    std::mt19937_64 rng(20261208);
    std::normal_distribution<double> dir(0.0, 1.0);
    std::uniform_real_distribution<double> radius(6.4e6, 4.2e7);
    for (int i = 0; i < 400; i++) {
        const double u[3] = {dir(rng), dir(rng), dir(rng)};
        const double s = radius(rng) / std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        pts.push_back({u[0] * s, u[1] * s, u[2] * s});
    }
    for (double r : {6.6e6, -7.0e6, 4.2164e7})
        for (double s : {0.0, -0.0})
            for (double t : {0.0, -0.0}) {
                pts.push_back({r, s, t});
                pts.push_back({s, r, t});
                pts.push_back({s, t, r});
            }
    for (double e : {1e-3, -1e-9, 1e-20, 1e-300})
        for (double z : {6.6e6, -6.6e6}) {
            pts.push_back({e, 0.0, z});
            pts.push_back({-0.0, e, z});
            pts.push_back({e, -e, z});
        }
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1080, 1030);
    for (int i = 0; i < 300; i++) {
        double p[3];
        for (double& c : p) c = std::ldexp(mantissa(rng), exponent(rng));
        pts.push_back({p[0], p[1], p[2]});
    }
    return pts;
}

/* N and M as the host may pass them: -2..12 and the 8-bit extremes. */
std::vector<int> limits() {
    std::vector<int> v = {-128, 127, 100};
    for (int i = -2; i <= 12; i++) v.push_back(i);
    return v;
}

void comparePipelines(const std::vector<std::vector<double>>& pts, const std::vector<int>& ns,
                      const std::vector<int>& ms, Mismatches& mm) {
    for (const auto& p : pts)
        for (int n : ns)
            for (int m : ms) {
                const geoharm::FieldInput in{p[0], p[1], p[2], static_cast<std::int8_t>(n),
                                             static_cast<std::int8_t>(m)};
                double fast[3], plain[3];
                geoharm::evaluateAcceleration(in, fast);
                geoharm::evaluateAccelerationPlain(in, plain);
                mm.check(fast, plain, where(p[0], p[1], p[2], n, m));
            }
}

/* One way of forming the harmonic sums: the dispatched one, or the
   one-point routine of a level. */
struct SumsRoutine {
    const char* name;
    bool dispatched;
    geoharm::SimdLevel level; /* the level it needs */
};

/* Test names and messages show the routine by its name. */
void PrintTo(const SumsRoutine& routine, std::ostream* os) { *os << routine.name; }

const SumsRoutine ROUTINES[] = {
    {"dispatched", true, geoharm::SimdLevel::SSE2},         {"sse2", false, geoharm::SimdLevel::SSE2},
    {"avx2", false, geoharm::SimdLevel::AVX2},               {"avx2_fma", false, geoharm::SimdLevel::AVX2_FMA},
    {"avx512f", false, geoharm::SimdLevel::AVX512F},         {"avx512f_fma", false, geoharm::SimdLevel::AVX512F_FMA},
};

/* The routine's sums; a level's routine takes 1 <= N and 0 <= M only, the
   rest gives no term. */
void sumsOf(const SumsRoutine& routine, const FieldScalars& sc, int n, int m, double sum[3]) {
    if (routine.dispatched) {
        geoharm::fusedHarmonicSums(sc, n, m, sum);
    } else if (n <= 0 || m < 0) {
        sum[0] = sum[1] = sum[2] = 0.0;
    } else {
        geoharm::levelRoutines(routine.level)->pointSums(sc, n, m, sum);
    }
}

/* The sums alone (no central term that could hide them), fused against
   fillHarmonicArrays + sumHarmonicTerms on the same scalars. */
void compareSums(const SumsRoutine& routine, const FieldScalars& sc, int n, int m, Mismatches& mm,
                 const std::string& at) {
    double V[geoharm::HARMONIC_SIZE], W[geoharm::HARMONIC_SIZE], plain[3], fast[3];
    geoharm::fillHarmonicArrays(sc, n, m, V, W);
    geoharm::sumHarmonicTerms(n, m, V, W, plain);
    sumsOf(routine, sc, n, m, fast);
    mm.anyNaN = true;
    mm.check(fast, plain, at);
}

class FusedSums : public ::testing::TestWithParam<SumsRoutine> {
  protected:
    void SetUp() override {
        if (geoharm::levelRoutines(GetParam().level) == nullptr)
            GTEST_SKIP() << "this processor does not run the routine " << GetParam().name;
    }
};

}  // namespace

TEST(FastPath, PlainReferenceGivesTheWorkedExamples) {
    /* The reference the fast path is held to reproduces the published
       results itself (the fast path does so in the pipeline tests). */
    for (const auto& w : geoharm_test::WORKED_EXAMPLES) {
        double a[3];
        geoharm::evaluateAccelerationPlain(
            {w.x, w.y, w.z, static_cast<std::int8_t>(w.n), static_cast<std::int8_t>(w.m)}, a);
        EXPECT_SAME_BITS(a[0], w.ax) << where(w.x, w.y, w.z, w.n, w.m);
        EXPECT_SAME_BITS(a[1], w.ay) << where(w.x, w.y, w.z, w.n, w.m);
        EXPECT_SAME_BITS(a[2], w.az) << where(w.x, w.y, w.z, w.n, w.m);
    }
}

TEST(FastPath, SameBitsAsThePlainStagesOnOrdinaryPositions) {
    Mismatches mm;
    comparePipelines(ordinaryPositions(), limits(), limits(), mm);
    EXPECT_EQ(mm.count, 0) << mm.first;
}

TEST(FastPath, SameBitsAsThePlainStagesOnSpecialCoordinates) {
    Mismatches mm;
    const std::vector<int> ns = {-128, -1, 0, 1, 2, 3, 4, 7, 10, 12, 127};
    comparePipelines(specialPositions(), ns, ns, mm);
    EXPECT_EQ(mm.count, 0) << mm.first;
}

TEST_P(FusedSums, SameBitsForEveryLimit) {
    Mismatches mm;
    for (const auto& p : ordinaryPositions()) {
        const FieldScalars sc = geoharm::computeFieldScalars(p[0], p[1], p[2]);
        for (int n = -2; n <= 10; n++)
            for (int m = -2; m <= 10; m++) compareSums(GetParam(), sc, n, m, mm, where(p[0], p[1], p[2], n, m));
    }
    EXPECT_EQ(mm.count, 0) << mm.first;
}

TEST_P(FusedSums, SameBitsForUnrelatedScalars) {
    /* Scalars that no position gives (z0 infinite with rho finite, y0 NaN
       with x0 zero, ...): every special value reaches every operation of
       the recursion, in every lane. */
    const double values[] = {0.0, -0.0, 0.7, -1.3, 5e-324, 1e-300, 3e250, -DBL_MAX, INF, -INF, NAN};
    const int count = sizeof values / sizeof values[0];
    std::mt19937_64 rng(4242);
    std::uniform_int_distribution<int> pick(0, count - 1);
    Mismatches mm;
    for (int i = 0; i < 4000; i++) {
        FieldScalars sc{};
        sc.r = values[pick(rng)];
        sc.rho = values[pick(rng)];
        sc.x0 = values[pick(rng)];
        sc.y0 = values[pick(rng)];
        sc.z0 = values[pick(rng)];
        for (int n : {1, 2, 3, 5, 10})
            for (int m : {0, 1, 2, 4, 10}) {
                char at[160];
                std::snprintf(at, sizeof at, "r=%g rho=%g x0=%g y0=%g z0=%g N=%d M=%d", sc.r, sc.rho, sc.x0,
                              sc.y0, sc.z0, n, m);
                compareSums(GetParam(), sc, n, m, mm, at);
            }
    }
    EXPECT_EQ(mm.count, 0) << mm.first;
}

INSTANTIATE_TEST_SUITE_P(Routines, FusedSums, ::testing::ValuesIn(ROUTINES),
                         [](const ::testing::TestParamInfo<SumsRoutine>& routine) { return std::string(routine.param.name); });
