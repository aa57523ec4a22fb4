// Speed of one evaluation against GeographicLib's Clenshaw gradient of the
// same model, on the same points, in the same run: read the ratio of the
// medians (run with --benchmark_repetitions=N).
#include <benchmark/benchmark.h>

#include <GeographicLib/SphericalHarmonic.hpp>

#include <cmath>
#include <random>
#include <vector>

#include "coefficient_tables.h"
#include "evaluate_acceleration.h"
#include "field_constants.h"

namespace {

constexpr int POINTS = 1024;

/* A fixed set of positions from 6,400 km to 42,000 km. */
const std::vector<geoharm::FieldInput>& points() {
    static const std::vector<geoharm::FieldInput> pts = [] {
        std::vector<geoharm::FieldInput> v;
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> radius(6.4e6, 4.2e7);
        std::normal_distribution<double> dir(0.0, 1.0);
        for (int i = 0; i < POINTS; i++) {
            const double u[3] = {dir(rng), dir(rng), dir(rng)};
            const double s = radius(rng) / std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
            v.push_back({u[0] * s, u[1] * s, u[2] * s, 10, 10});
        }
        return v;
    }();
    return pts;
}

/* The model in GeographicLib's fully normalised, packed form, truncated. */
GeographicLib::SphericalHarmonic geographicLibModel(int degree) {
    std::vector<double> C, S;
    for (int m = 0; m <= degree; m++) {
        for (int n = m; n <= degree; n++) {
            long double ratio = 1.0L;
            for (int i = n - m + 1; i <= n + m; i++) ratio /= i;
            const long double norm = std::sqrt((m == 0 ? 1.0L : 2.0L) * (2 * n + 1) * ratio);
            C.push_back(n == 0 ? 1.0 : static_cast<double>(geoharm::coefC(n, m) / norm));
            if (m > 0) S.push_back(static_cast<double>(geoharm::coefS(n, m) / norm));
        }
    }
    return GeographicLib::SphericalHarmonic(C, S, degree, geoharm::R_REF,
                                            GeographicLib::SphericalHarmonic::FULL);
}

void BM_evaluateAcceleration(benchmark::State& state) {
    std::vector<geoharm::FieldInput> pts = points();
    for (auto& p : pts) p.n = p.m = static_cast<std::int8_t>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        double a[3];
        geoharm::evaluateAcceleration(pts[i], a);
        benchmark::DoNotOptimize(a);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_GeographicLibGradient(benchmark::State& state) {
    const GeographicLib::SphericalHarmonic model = geographicLibModel(static_cast<int>(state.range(0)));
    const double scale = geoharm::GM / geoharm::R_REF;
    const std::vector<geoharm::FieldInput>& pts = points();
    std::size_t i = 0;
    for (auto _ : state) {
        double g[3];
        model(pts[i].x, pts[i].y, pts[i].z, g[0], g[1], g[2]);
        g[0] *= scale;
        g[1] *= scale;
        g[2] *= scale;
        benchmark::DoNotOptimize(g);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_evaluateAcceleration)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_GeographicLibGradient)->Arg(10)->Arg(4)->Arg(2);

BENCHMARK_MAIN();
