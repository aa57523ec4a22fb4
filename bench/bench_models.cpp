/*
 * bench_models.cpp - the engine for models of any degree against
 * GeographicLib's SphericalHarmonic (the potential and its gradient) on the
 * same synthetic Kaula-rule coefficients, at degrees 70, 360 and 2190
 * (N = M = the degree): many points on one thread and on two (beside two
 * one-thread calls side by side, the machine's own ceiling), one point,
 * the gradient tensor; items are points, times wall-clock time (one
 * thread and two compared alike).
 *
 *   build/linux/bench/geoharm-models-bench --benchmark_repetitions=5
 *
 * Figures and how they were run: docs/models.md.
 */
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "geographiclib_sum.h"
#include "machine/routine_table.h"
#include "models/evaluate_model.h"
#include "models/model_data.h"
#include "synthetic_model.h"

namespace {

/* The model of a degree, as tables and as the engine's value, made once. */
struct BenchModel {
    geoharm_test::HarmonicModel tables;
    const geoharm::ModelData* data;
};

const BenchModel& benchModel(int degree) {
    static std::map<int, std::unique_ptr<BenchModel>> models;
    std::unique_ptr<BenchModel>& m = models[degree];
    if (!m) {
        m.reset(new BenchModel{geoharm_test::makeSyntheticModel(degree, 1), nullptr});
        const geoharm::CoefficientTable C{m->tables.C.data(), 0, 0, true, false};
        const geoharm::CoefficientTable S{m->tables.S.data(), 0, 0, true, false};
        char why[256];
        m->data = geoharm::makeModelData({m->tables.gm, m->tables.radius, degree,
                                          geoharm::Normalization::FullyNormalized, "synthetic", "", C, S},
                                         nullptr, why, sizeof why);
    }
    return *m;
}

/* Points around the Earth from 1 m to 30,000 km up, as arrays. */
struct Points {
    std::vector<double> x, y, z;
    explicit Points(std::size_t n) {
        std::mt19937_64 rng(5);
        std::uniform_real_distribution<double> unit(-1.0, 1.0), height(1.0, 3e7);
        for (std::size_t k = 0; k < n; k++) {
            double a = unit(rng), b = unit(rng), c = unit(rng);
            const double s = (6378136.3 + height(rng)) / std::sqrt(a * a + b * b + c * c);
            x.push_back(a * s), y.push_back(b * s), z.push_back(c * s);
        }
    }
};

/* Points per iteration: at least some 50 ms of work on one thread, so
   that starting the second thread is a small part of it, and enough of
   the engine's groups of tiles (32 points from degree 200 on) that a
   thread's last group is a small part of the call: two threads end
   together only to within one group, and with one or two groups each the
   call would last as long as the slower thread and take every pause of
   its processor whole. */
std::size_t pointsFor(int degree) { return degree >= 1000 ? 256 : degree >= 200 ? 2048 : 8192; }

/* The outputs of a many-point case. */
struct Outputs {
    std::vector<double> U, ax, ay, az, T;
    explicit Outputs(std::size_t n) : U(n), ax(n), ay(n), az(n), T(9 * n) {}
};

/* U and a (and T) at points [begin, end), on `threads` threads. */
void evaluateRange(const BenchModel& m, int degree, const Points& p, std::size_t begin, std::size_t end,
                   int threads, bool tensor, Outputs& o) {
    geoharm::evaluateModelManyWith(geoharm::activeRoutines(), threads, *m.data, end - begin, &p.x[begin],
                                   &p.y[begin], &p.z[begin], degree, degree, &o.U[begin], &o.ax[begin],
                                   &o.ay[begin], &o.az[begin], tensor ? &o.T[9 * begin] : nullptr);
}

/* U and a at the points, on `threads` threads of the engine; or, with
   `twoCalls`, as two one-thread calls on the two halves of the points
   side by side on two threads of the benchmark's own: what two
   processors of the machine give this work with nothing shared between
   the threads, the ceiling of the engine's two threads. */
void manyPoints(benchmark::State& state, int threads, bool tensor, bool twoCalls = false) {
    const int degree = static_cast<int>(state.range(0));
    const BenchModel& m = benchModel(degree);
    const std::size_t count = pointsFor(degree);
    const Points p(count);
    Outputs o(count);
    for (auto _ : state) {
        if (twoCalls) {
            std::thread other([&] { evaluateRange(m, degree, p, 0, count / 2, 1, tensor, o); });
            evaluateRange(m, degree, p, count / 2, count, 1, tensor, o);
            other.join();
        } else {
            evaluateRange(m, degree, p, 0, count, threads, tensor, o);
        }
        benchmark::DoNotOptimize(o.ax.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}

void BM_modelManyPoints(benchmark::State& state) { manyPoints(state, 1, false); }
void BM_modelManyPointsTwoThreads(benchmark::State& state) { manyPoints(state, 2, false); }
void BM_modelManyPointsTwoCalls(benchmark::State& state) { manyPoints(state, 1, false, true); }
void BM_modelManyPointsTensor(benchmark::State& state) { manyPoints(state, 1, true); }

/* One point per call, cycling through the points. */
void BM_modelOnePoint(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    const BenchModel& m = benchModel(degree);
    const Points p(64);
    std::size_t i = 0;
    for (auto _ : state) {
        const double position[3] = {p.x[i], p.y[i], p.z[i]};
        double U, a[3];
        geoharm::evaluateModel(*m.data, position, degree, degree, &U, a, nullptr);
        benchmark::DoNotOptimize(a);
        i = (i + 1) % 64;
    }
    state.SetItemsProcessed(state.iterations());
}

/* GeographicLib's potential and gradient, one point per call. */
void BM_GeographicLibModel(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    const BenchModel& m = benchModel(degree);
    const geoharm_test::GeographicLibSum sum(m.tables, degree, degree);
    const Points p(64);
    std::size_t i = 0;
    for (auto _ : state) {
        const double position[3] = {p.x[i], p.y[i], p.z[i]};
        double U, a[3];
        sum.evaluate(position, U, a);
        benchmark::DoNotOptimize(a);
        i = (i + 1) % 64;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_GeographicLibModel)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_modelManyPoints)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_modelManyPointsTwoThreads)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_modelManyPointsTwoCalls)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_modelOnePoint)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_modelManyPointsTensor)->Arg(70)->Arg(360)->Arg(2190)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
