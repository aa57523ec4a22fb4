// One NaN: every NaN a field entry point returns is the default quiet NaN
// 0x7FF8000000000000, whatever NaN (sign, payload, signalling or quiet)
// or invalid operation it came from, on every path, for the acceleration
// and for the gradient (tensor, acceleration, potential): one point (the
// fused routine the processor runs, each of the gradient's routines, the
// plain stages, the installed interface) and many (each lane routine the
// processor runs, on one thread and on several).  Run by every build, so
// each build's code is held to it.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "bits.h"
#include "geoharm/geoharm.h"
#include "machine/cpu_features.h"
#include "machine/default_nan.h"
#include "many/many_point_routines.h"
#include "many/evaluate_gradient_many.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"
#include "machine/routine_table.h"

namespace {

using geoharm::SimdLevel;
using geoharm_test::bitsOf;

double fromBits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

const double INF = std::numeric_limits<double>::infinity();

/* Positions whose results hold NaN components, from every kind of NaN:
   each sign and a payload, signalling ones, and the invalid operations of
   the evaluation itself (the origin, infinities). */
std::vector<std::vector<double>> nanPositions() {
    const double nans[] = {fromBits(0x7FF8000000000000u), fromBits(0xFFF8000000000000u), fromBits(0x7FF80000DEADBEEFu),
                           fromBits(0xFFFC000000000001u), fromBits(0x7FF0000000000001u), fromBits(0xFFF4000000000000u)};
    std::vector<std::vector<double>> p{{0.0, 0.0, 0.0}, {-0.0, 0.0, -0.0}, {INF, 0.0, 7e6}, {-INF, INF, 0.0},
                                       {INF, INF, INF}, {1e-170, 0.0, 0.0}};
    for (double n : nans) {
        p.push_back({n, 7e6, 1e6});
        p.push_back({7e6, n, 1e6});
        p.push_back({7e6, 1e6, n});
        p.push_back({n, -n, n});
    }
    return p;
}

/* Limits of each path: full, partial, the central term alone. */
const int LIMITS[][2] = {{10, 10}, {10, 3}, {4, 2}, {2, 0}, {1, 1}, {0, 0}, {-1, -1}};

/* Counts the NaN components of results and the ones that are not the
   default NaN, describing the first few of those. */
struct NanCheck {
    long nans = 0, wrong = 0;
    std::string report;

    void look(const double* a, const std::string& where, const std::vector<double>& p, int values = 3) {
        for (int c = 0; c < values; c++) {
            if (a[c] == a[c]) continue;
            nans++;
            if (bitsOf(a[c]) == 0x7FF8000000000000u) continue;
            if (wrong++ < 5) {
                char text[200];
                std::snprintf(text, sizeof text, "%s at (%a, %a, %a): component %d is 0x%016" PRIX64 "\n",
                              where.c_str(), p[0], p[1], p[2], c, bitsOf(a[c]));
                report += text;
            }
        }
    }
};

/* A one-point routine at p with limits n, m: the acceleration into a[3];
   the gradient into v[13] (T, then a, then U). */
template <void (*F)(const geoharm::FieldInput&, double[3])>
void accelerationAt(const double p[3], int n, int m, double a[3]) {
    F({p[0], p[1], p[2], static_cast<std::int8_t>(n), static_cast<std::int8_t>(m)}, a);
}

template <void (*F)(const geoharm::FieldInput&, double[9], double[3], double*)>
void gradientAt(const double p[3], int n, int m, double v[13]) {
    F({p[0], p[1], p[2], static_cast<std::int8_t>(n), static_cast<std::int8_t>(m)}, v, v + 9, v + 12);
}

/* The one-point gradient routine of a level (the processor must run it). */
template <geoharm::SimdLevel L>
void levelGradientAt(const double p[3], int n, int m, double v[13]) {
    geoharm::levelRoutines(L)->pointGradient(
        {p[0], p[1], p[2], static_cast<std::int8_t>(n), static_cast<std::int8_t>(m)}, v, v + 9, v + 12);
}

TEST(DefaultNan, TheRuleChangesNaNAlone) {
    // Every NaN becomes the default NaN; every other double keeps its bits.
    const std::uint64_t kept[] = {0, 0x8000000000000000u, 1, 0x7FEFFFFFFFFFFFFFu, 0x7FF0000000000000u,
                                  0xFFF0000000000000u, 0x4005BF0A8B145769u};
    for (std::uint64_t b : kept) EXPECT_EQ(bitsOf(geoharm::toDefaultNan(fromBits(b))), b);
    for (std::uint64_t b : {0x7FF8000000000000u, 0xFFF8000000000000u, 0x7FF0000000000001u, 0xFFFFFFFFFFFFFFFFu})
        EXPECT_EQ(bitsOf(geoharm::toDefaultNan(fromBits(b))), 0x7FF8000000000000u);
    EXPECT_EQ(bitsOf(geoharm::DEFAULT_NAN), 0x7FF8000000000000u);
}

TEST(DefaultNan, EveryOnePointPath) {
    using Path = void (*)(const double p[3], int n, int m, double a[3]);
    struct Named {
        const char* name;
        Path path;
    };
    const Named paths[] = {
        {"evaluateAcceleration", accelerationAt<geoharm::evaluateAcceleration>},
        {"evaluateAccelerationPlain", accelerationAt<geoharm::evaluateAccelerationPlain>},
        {"geoharm::acceleration", [](const double p[3], int n, int m, double a[3]) { geoharm::acceleration(p, n, m, a); }},
    };
    for (const Named& path : paths) {
        NanCheck check;
        for (const auto& p : nanPositions()) {
            for (const auto& l : LIMITS) {
                double a[3];
                path.path(p.data(), l[0], l[1], a);
                check.look(a, std::string(path.name) + " N=" + std::to_string(l[0]) + " M=" + std::to_string(l[1]), p);
            }
        }
        EXPECT_GT(check.nans, 100) << path.name;
        EXPECT_EQ(check.wrong, 0) << check.wrong << " of " << check.nans << " NaN components differ:\n" << check.report;
    }
}

TEST(DefaultNan, EveryGradientPath) {
    // T, a and U of one point through each routine, the plain stages and
    // the installed interface; of many through each lane routine on one
    // thread and on several, and the installed many-point interface.
    using Path = void (*)(const double p[3], int n, int m, double v[13]);
    struct Named {
        const char* name;
        Path path;
        SimdLevel needs;
    };
    const Named paths[] = {
        {"evaluateGradient", gradientAt<geoharm::evaluateGradient>, SimdLevel::SSE2},
        {"evaluateGradientPlain", gradientAt<geoharm::evaluateGradientPlain>, SimdLevel::SSE2},
        {"sse2", levelGradientAt<SimdLevel::SSE2>, SimdLevel::SSE2},
        {"avx2", levelGradientAt<SimdLevel::AVX2>, SimdLevel::AVX2},
        {"avx512f_fma", levelGradientAt<SimdLevel::AVX512F_FMA>, SimdLevel::AVX512F_FMA},
        {"geoharm::gradient", [](const double p[3], int n, int m, double v[13]) { geoharm::gradient(p, n, m, v, v + 9, v + 12); },
         SimdLevel::SSE2},
    };
    for (const Named& path : paths) {
        if (!geoharm::processorRuns(path.needs)) continue;
        NanCheck check;
        for (const auto& p : nanPositions()) {
            for (const auto& l : LIMITS) {
                double v[13];
                path.path(p.data(), l[0], l[1], v);
                check.look(v, std::string(path.name) + " N=" + std::to_string(l[0]), p, 13);
            }
        }
        EXPECT_GT(check.nans, 1000) << path.name;
        EXPECT_EQ(check.wrong, 0) << check.wrong << " of " << check.nans << " NaN values differ:\n" << check.report;
    }

    const std::vector<std::vector<double>> positions = nanPositions();
    const std::size_t count = 5 * positions.size() + 3;
    std::vector<double> x(count), y(count), z(count);
    for (std::size_t k = 0; k < count; k++) {
        x[k] = positions[k % positions.size()][0];
        y[k] = positions[k % positions.size()][1];
        z[k] = positions[k % positions.size()][2];
    }
    std::vector<double> T(9 * count), a(3 * count), U(count);
    const auto lookAtAll = [&](const std::string& where) {
        NanCheck check;
        for (std::size_t k = 0; k < count; k++) {
            double v[13];
            for (int i = 0; i < 9; i++) v[i] = T[9 * k + static_cast<std::size_t>(i)];
            for (int c = 0; c < 3; c++) v[9 + c] = a[static_cast<std::size_t>(c) * count + k];
            v[12] = U[k];
            check.look(v, where, {x[k], y[k], z[k]}, 13);
        }
        EXPECT_GT(check.nans, 1000) << where;
        EXPECT_EQ(check.wrong, 0) << check.wrong << " of " << check.nans << " NaN values differ:\n" << check.report;
    };
    const SimdLevel levels[] = {SimdLevel::SSE2, SimdLevel::AVX2, SimdLevel::AVX2_FMA, SimdLevel::AVX512F,
                                SimdLevel::AVX512F_FMA};
    for (SimdLevel level : levels) {
        if (!geoharm::processorRuns(level)) continue;
        for (int threads : {1, 3}) {
            geoharm::evaluateGradientManyWith(*geoharm::levelRoutines(level), threads, count, x.data(), y.data(), z.data(), 10, 10, T.data(),
                                              a.data(), a.data() + count, a.data() + 2 * count, U.data());
            lookAtAll("gradient lanes, level " + std::to_string(static_cast<int>(level)) + ", " +
                      std::to_string(threads) + " threads");
        }
    }
    geoharm::gradientMany(count, x.data(), y.data(), z.data(), 10, 10, T.data(), a.data(), a.data() + count,
                          a.data() + 2 * count, U.data());
    lookAtAll("geoharm::gradientMany");
}

TEST(DefaultNan, EveryLaneRoutineOnAnyNumberOfThreads) {
    // Each routine the processor runs, the positions repeated so that the
    // calls fill full registers and a padded remainder, on one thread and
    // split over several; and the installed many-point entry point.
    std::vector<double> x, y, z;
    for (int copy = 0; copy < 400; copy++)
        for (const auto& p : nanPositions()) {
            x.push_back(p[0]);
            y.push_back(p[1]);
            z.push_back(p[2]);
        }
    x.resize(x.size() - 3);
    y.resize(x.size());
    z.resize(x.size());
    const std::size_t count = x.size();
    struct Routine {
        const char* name;
        SimdLevel level;
    };
    const Routine routines[] = {{"sse2", SimdLevel::SSE2},
                                {"avx2", SimdLevel::AVX2},
                                {"avx2-fma", SimdLevel::AVX2_FMA},
                                {"avx512f", SimdLevel::AVX512F},
                                {"avx512f-fma", SimdLevel::AVX512F_FMA}};
    for (const Routine& r : routines) {
        if (!geoharm::processorRuns(r.level)) continue;
        for (int threads : {1, 3}) {
            for (const auto& l : LIMITS) {
                std::vector<double> ax(count), ay(count), az(count);
                geoharm::evaluateAccelerationManyWith(*geoharm::levelRoutines(r.level), threads, count, x.data(), y.data(), z.data(),
                                                      static_cast<std::int8_t>(l[0]), static_cast<std::int8_t>(l[1]),
                                                      ax.data(), ay.data(), az.data());
                NanCheck check;
                for (std::size_t k = 0; k < count; k++) {
                    const double a[3] = {ax[k], ay[k], az[k]};
                    check.look(a, std::string(r.name) + ", " + std::to_string(threads) + " threads", {x[k], y[k], z[k]});
                }
                EXPECT_GT(check.nans, 1000) << r.name;
                EXPECT_EQ(check.wrong, 0) << check.wrong << " of " << check.nans << " NaN components differ:\n"
                                          << check.report;
            }
        }
    }
    std::vector<double> ax(count), ay(count), az(count);
    geoharm::accelerationMany(count, x.data(), y.data(), z.data(), 10, 10, ax.data(), ay.data(), az.data());
    NanCheck check;
    for (std::size_t k = 0; k < count; k++) {
        const double a[3] = {ax[k], ay[k], az[k]};
        check.look(a, "geoharm::accelerationMany", {x[k], y[k], z[k]});
    }
    EXPECT_EQ(check.wrong, 0) << check.report;
}

}  // namespace
