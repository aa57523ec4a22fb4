// The engine for models of any degree against its plain stages, bit for
// bit: each level's one-point and many-point routine, on 1, 2, 3 and 7
// threads, with and without the tensor, for truncations that reach every
// path (partial groups of orders, the central term alone, limits above the
// model), at points that reach every branch (the polar cap and the axis,
// the equator with signed zeros, the origin, non-finite and extreme
// coordinates); the compiled-in model given as numbers takes the
// compiled-in routines; and refusals of bad tables.
#include <gtest/gtest.h>

#include <array>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bits.h"
#include "geoharm/geoharm.h"
#include "models/evaluate_model.h"
#include "models/model_data.h"
#include "synthetic_model.h"

namespace {

using geoharm::SimdLevel;
using geoharm_test::bitsOf;

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

/* A synthetic model as the engine's value (triangular, fully normalised). */
struct Model {
    geoharm_test::HarmonicModel tables;
    const geoharm::ModelData* data;
    explicit Model(int degree, std::uint64_t seed) : tables(geoharm_test::makeSyntheticModel(degree, seed)) {
        const geoharm::CoefficientTable C{tables.C.data(), 0, 0, true, false}, S{tables.S.data(), 0, 0, true, false};
        char why[256];
        data = geoharm::makeModelData({tables.gm, tables.radius, degree, geoharm::Normalization::FullyNormalized,
                                       "synthetic", "", C, S},
                                      nullptr, why, sizeof why);
        EXPECT_NE(data, nullptr) << why;
    }
    ~Model() { geoharm::releaseModelData(data); }
};

/* Points that reach every branch, and random ones. */
std::vector<std::vector<double>> edgePoints() {
    const double R = 6378136.3;
    std::vector<std::vector<double>> p{
        {0.0, 0.0, R + 1.0},         {0.0, 0.0, -(R + 1.0)},       {-0.0, 0.0, 7e6},
        {6.4, 1.0, R},               {1e-3, -2e-3, -R},            {7e6, 0.0, 0.0},
        {7e6, 1e6, -0.0},            {0.0, 0.0, 0.0},              {NaN, 1.0, 1.0},
        {INF, 0.0, 7e6},             {1e200, 1e200, 1e200},        {4.9e-324, 7e6, -0.0},
        {1e-19, 0.0, 0.0},           {1.5e6, 1.0e6, 6.2e6},        {-1.0e6, 0.5e6, -6.5e6},
        {R * 0.2425, 0.0, R * 0.97}, {R * 0.2426, 0.0, R * 0.97}, {1e8, -1e8, 2e7}};
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> unit(-1.0, 1.0), height(1.0, 4e7);
    for (int k = 0; k < 40; k++) {
        double x = unit(rng), y = unit(rng), z = unit(rng);
        const double scale = (R + height(rng)) / std::sqrt(x * x + y * y + z * z);
        p.push_back({x * scale, y * scale, z * scale});
    }
    return p;
}

/* U, a, T of one point, 13 doubles. */
using Values = std::vector<double>;

Values plain(const Model& m, const std::vector<double>& p, int N, int M, bool tensor) {
    Values v(13, -1.0);
    geoharm::evaluateModelPlain(*m.data, p.data(), N, M, &v[0], &v[1], tensor ? &v[4] : nullptr);
    return v;
}

/* The first difference of bits between two sets of values, or "". */
std::string firstDifference(const Values& got, const Values& want) {
    for (std::size_t i = 0; i < want.size(); i++)
        if (bitsOf(got[i]) != bitsOf(want[i]))
            return "value " + std::to_string(i) + ": " + geoharm_test::describe(got[i]) + " against " +
                   geoharm_test::describe(want[i]);
    return "";
}

const std::array<int, 2> LIMITS[] = {{40, 40}, {40, 3}, {20, 35}, {17, 9}, {2, 0}, {1, 5}, {5, -1}, {0, 0}, {100, 100}, {40, 8}};

}  // namespace

/* The degree-40 model with every limit; one of degree 210 (whose many-point
   routine takes its tiles in groups) whole and with few orders. */
TEST(ModelEngine, EveryLevelAndThreadCountGivesThePlainBits) {
    const Model small(40, 2), large(210, 3);
    const std::vector<std::pair<const Model*, std::vector<std::array<int, 2>>>> cases = {
        {&small, {std::begin(LIMITS), std::end(LIMITS)}}, {&large, {{210, 210}, {205, 3}}}};
    const std::vector<std::vector<double>> points = edgePoints();
    const std::size_t K = points.size();
    std::vector<double> x(K), y(K), z(K);
    for (std::size_t k = 0; k < K; k++) x[k] = points[k][0], y[k] = points[k][1], z[k] = points[k][2];
    long bad = 0, compared = 0;
    for (const auto& [modelOf, limits] : cases)
    for (const auto& limit : limits) {
        const Model& model = *modelOf;
        for (const bool tensor : {false, true}) {
            std::vector<Values> want;
            for (const auto& p : points) want.push_back(plain(model, p, limit[0], limit[1], tensor));
            for (const SimdLevel level : geoharm::SIMD_LEVELS) {
                const geoharm::Routines* routines = geoharm::levelRoutines(level);
                if (routines == nullptr) continue;
                const std::string what = std::string(geoharm::levelName(level)) + " N " + std::to_string(limit[0]) +
                                         " M " + std::to_string(limit[1]) + (tensor ? " tensor" : "");
                /* One point. */
                const geoharm::ModelLimits l = geoharm::modelLimits(model.data->maxDegree, limit[0], limit[1]);
                for (std::size_t k = 0; k < K; k++) {
                    Values v(13, -1.0);
                    routines->modelOnePoint(*model.data, points[k].data(), l.degree, l.order, &v[0], &v[1],
                                            tensor ? &v[4] : nullptr);
                    const std::string d = firstDifference(v, want[k]);
                    if (!d.empty() && bad++ < 5) ADD_FAILURE() << what << " one point " << k << ": " << d;
                    compared++;
                }
                /* Many points, on several threads. */
                for (const int threads : {1, 2, 3, 7}) {
                    std::vector<double> U(K, -1.0), ax(K, -1.0), ay(K, -1.0), az(K, -1.0), T(9 * K, -1.0);
                    geoharm::evaluateModelManyWith(*routines, threads, *model.data, K, x.data(), y.data(), z.data(),
                                                   limit[0], limit[1], U.data(), ax.data(), ay.data(), az.data(),
                                                   tensor ? T.data() : nullptr);
                    for (std::size_t k = 0; k < K; k++) {
                        Values v{U[k], ax[k], ay[k], az[k]};
                        for (int i = 0; i < 9; i++) v.push_back(T[9 * k + static_cast<std::size_t>(i)]);
                        const std::string d = firstDifference(v, want[k]);
                        if (!d.empty() && bad++ < 5)
                            ADD_FAILURE() << what << ", " << threads << " threads, point " << k << ": " << d;
                        compared++;
                    }
                }
            }
        }
    }
    EXPECT_EQ(bad, 0) << " of " << compared;
}

TEST(ModelEngine, AccelerationAndPotentialTheSameWithOrWithoutTheTensor) {
    const Model model(30, 5);
    for (const auto& p : edgePoints()) {
        const Values without = plain(model, p, 30, 30, false), with = plain(model, p, 30, 30, true);
        for (int i = 0; i < 4; i++) EXPECT_SAME_BITS(without[static_cast<std::size_t>(i)], with[static_cast<std::size_t>(i)]);
    }
}

TEST(ModelEngine, TheCompiledInModelGivenAsNumbersHasTheCompiledInBits) {
    /* geoharm::model()'s tables, C(0,0) = 1: the compiled-in routines; one
       coefficient changed by an ulp: the engine. */
    const geoharm::Model compiled = geoharm::model();
    for (const bool changed : {false, true}) {
        double C[11][11], S[11][11];
        for (int n = 0; n <= 10; n++)
            for (int m = 0; m <= 10; m++) C[n][m] = compiled.C[n][m], S[n][m] = compiled.S[n][m];
        C[0][0] = 1.0;
        if (changed) C[5][3] = std::nextafter(C[5][3], 1.0);
        const geoharm::CoefficientTable tc{&C[0][0], 11, 1, false, true}, ts{&S[0][0], 11, 1, false, true};
        char why[256];
        const geoharm::ModelData* md = geoharm::makeModelData(
            {compiled.gm, compiled.referenceRadius, 10, geoharm::Normalization::Unnormalized, "", "", tc, ts}, nullptr,
            why, sizeof why);
        ASSERT_NE(md, nullptr) << why;
        EXPECT_EQ(md->compiledIn, !changed);
        const double position[3] = {7e6, 1e6, 2e6};
        for (const auto& l : {std::pair<int, int>{10, 10}, {4, 2}, {200, 3}, {1, 10}}) {
            double U, a[3], T[9], wantU, wantA[3], wantT[9];
            geoharm::evaluateModel(*md, position, l.first, l.second, &U, a, T);
            geoharm::gradient(position, l.first, l.second, wantT, wantA, &wantU);
            const bool same = bitsOf(U) == bitsOf(wantU) && bitsOf(a[0]) == bitsOf(wantA[0]) &&
                              bitsOf(T[4]) == bitsOf(wantT[4]);
            EXPECT_EQ(same, !changed) << "N " << l.first << " M " << l.second;
            if (!changed) {
                double many[3];
                geoharm::evaluateModelMany(*md, 1, &position[0], &position[1], &position[2], l.first, l.second,
                                           nullptr, &many[0], &many[1], &many[2], nullptr);
                double acc[3];
                geoharm::acceleration(position, l.first, l.second, acc);
                for (int i = 0; i < 3; i++) EXPECT_SAME_BITS(many[i], acc[i]);
            }
        }
        geoharm::releaseModelData(md);
    }
}

TEST(ModelEngine, TablesThatAreNoModelAreRefused) {
    double C[3][3] = {{1, 0, 0}, {0, 0, 0}, {-4.8e-4, 0, 1e-6}}, S[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 1e-6}};
    struct Case {
        const char* what;
        double gm, radius;
        int degree;
        int n, m;        /* an entry to change, or n < 0 */
        double value;
        bool sine;
        const char* message;
    };
    const Case cases[] = {
        {"GM zero", 0.0, 6.4e6, 2, -1, 0, 0, false, "src: GM must be a finite number above zero, not 0"},
        {"radius NaN", 3.9e14, NaN, 2, -1, 0, 0, false, "src: the reference radius must be a finite number above zero, not nan"},
        {"degree", 3.9e14, 6.4e6, 2701, -1, 0, 0, false, "src: the degree 2701 is outside 0..2700, the degrees this library evaluates"},
        {"infinite C", 3.9e14, 6.4e6, 2, 2, 1, INF, false, "src: C(2,1) is not a finite number"},
        {"order above degree", 3.9e14, 6.4e6, 2, 1, 2, 1e-9, false, "src: C(1,2) is not zero, but order 2 is above degree 1"},
        {"S(n,0)", 3.9e14, 6.4e6, 2, 2, 0, 1e-9, true, "src: S(2,0) is not zero (sine terms of order 0 do not exist)"},
    };
    for (const Case& c : cases) {
        double c2[3][3], s2[3][3];
        for (int i = 0; i < 9; i++) c2[i / 3][i % 3] = C[i / 3][i % 3], s2[i / 3][i % 3] = S[i / 3][i % 3];
        if (c.n >= 0) (c.sine ? s2 : c2)[c.n][c.m] = c.value;
        const geoharm::CoefficientTable tc{&c2[0][0], 3, 1, false, true}, ts{&s2[0][0], 3, 1, false, true};
        char why[256] = "";
        const geoharm::ModelData* md = geoharm::makeModelData(
            {c.gm, c.radius, c.degree == 2701 ? 2701 : 2, geoharm::Normalization::FullyNormalized, "", "", tc, ts},
            "src", why, sizeof why);
        EXPECT_EQ(md, nullptr) << c.what;
        EXPECT_STREQ(why, c.message) << c.what;
        geoharm::releaseModelData(md);
    }
}
