// Speed of one evaluation against GeographicLib's Clenshaw gradient of the
// same model, on the same points, in the same run: read the ratio of the
// medians (run with --benchmark_repetitions=N).  The plain stages run as a
// third contender, the baseline of the fast path, and the whole path as a
// processor with SSE2 alone runs it a fourth.  The many-point lane
// routines run on the same points (one item = one point), one routine at
// a time on one thread, and the entry point on 100,000 points with all
// processors against one thread; the installed interface's
// accelerationMany on 10^5 and 10^6 points, the baseline of the Python
// package's timing script (python/bench/python_speed.py).  The gradient
// (tensor, acceleration and potential) runs beside them: at one point
// through each routine, at many points through each lane routine, and
// the many-point entry against six accelerations per point (the central
// differences it replaces).
// (The cost of each kind of instruction: instruction_chains.h.)
#include <benchmark/benchmark.h>
#include <emmintrin.h>

#include <vector>

#include "machine/cpu_features.h"
#include "machine/routine_table.h"
#include "machine/default_nan.h"
#include "model/field_limits.h"
#include "point/central_term.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"
#include "many/evaluate_gradient_many.h"
#include "machine/fixed_fp_state.h"
#include "point/field_scalars.h"
#include "geographiclib_model.h"
#include "geoharm/geoharm.h"
#include "many/many_point_routines.h"
#include "many/worker_threads.h"

namespace {

constexpr int POINTS = 1024;

/* A fixed set of positions from 6,400 km to 42,000 km. */
const std::vector<geoharm::FieldInput>& points() {
    static const std::vector<geoharm::FieldInput> pts = [] {
        std::vector<geoharm::FieldInput> v;
        geoharm_test::RandomPoints gen(42, 6.4e6, 4.2e7);
        for (int i = 0; i < POINTS; i++) {
            double p[3];
            gen.next(p);
            v.push_back({p[0], p[1], p[2], 10, 10});
        }
        return v;
    }();
    return pts;
}

/* One evaluation per iteration, cycling through the points, with N = M =
   the benchmark's argument. */
void runEvaluations(benchmark::State& state, void (*evaluate)(const geoharm::FieldInput&, double[3])) {
    std::vector<geoharm::FieldInput> pts = points();
    for (auto& p : pts) p.n = p.m = static_cast<std::int8_t>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        double a[3];
        evaluate(pts[i], a);
        benchmark::DoNotOptimize(a);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

/* The fast path, as the plug-in calls it. */
void BM_evaluateAcceleration(benchmark::State& state) { runEvaluations(state, geoharm::evaluateAcceleration); }

/* The same evaluation without saving, fixing and restoring the caller's
   floating-point state: the difference to BM_evaluateAcceleration is what
   the guard costs per call. */
void BM_evaluateAccelerationUnguarded(benchmark::State& state) {
    runEvaluations(state, geoharm::evaluateAccelerationUnguarded);
}

/* The guard alone: save the caller's state, fix it, give it back (with a
   caller already in the fixed state, the usual case). */
void BM_fixedFpStateAlone(benchmark::State& state) {
    for (auto _ : state) {
        const geoharm::FixedFpState fixedState;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

/* The whole single-point path with one routine of the sums:
   evaluateAcceleration with SUMS in place of the routine it chooses
   (floating-point guard, scalars, sums, central term).  With the SSE2
   sums, the path of a processor with SSE2 alone, the per-point cost
   BM_manyPointsSse2 is held to; with the 256-bit ones, the path of a
   processor with AVX2 (16 registers) or AVX-512 (32), against
   BM_evaluateAcceleration. */
void evaluateAccelerationWith(geoharm::PointSums sums, const geoharm::FieldInput& in, double a[3]) {
    const geoharm::FixedFpState fixedState;
    const int N = geoharm::clampToModel(in.n);
    const int M = geoharm::clampToModel(in.m);
    const geoharm::FieldScalars sc = geoharm::computeFieldScalars(in.x, in.y, in.z);
    double sum[3] = {0.0, 0.0, 0.0};
    if (N >= 1 && M >= 0) sums(sc, N, M, sum);
    geoharm::addCentralTerm(sc, in, sum, a);
}

/* The level's routines, or null (the benchmark skipped) where the
   processor does not run them. */
const geoharm::Routines* routinesOrSkip(benchmark::State& state, geoharm::SimdLevel level) {
    const geoharm::Routines* routines = geoharm::levelRoutines(level);
    if (routines == nullptr) state.SkipWithError("this processor does not run this routine");
    return routines;
}

void runPath(benchmark::State& state, geoharm::SimdLevel level) {
    const geoharm::Routines* routines = routinesOrSkip(state, level);
    if (routines == nullptr) return;
    const geoharm::PointSums sums = routines->pointSums;
    const std::vector<geoharm::FieldInput>& pts = points();
    std::size_t i = 0;
    for (auto _ : state) {
        geoharm::FieldInput in = pts[i];
        in.n = in.m = static_cast<std::int8_t>(state.range(0));
        double a[3];
        evaluateAccelerationWith(sums, in, a);
        benchmark::DoNotOptimize(a);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_singlePointSse2(benchmark::State& state) { runPath(state, geoharm::SimdLevel::SSE2); }

void BM_singlePointAvx2(benchmark::State& state) { runPath(state, geoharm::SimdLevel::AVX2); }

void BM_singlePointAvx2Fma(benchmark::State& state) { runPath(state, geoharm::SimdLevel::AVX2_FMA); }

void BM_singlePointAvx512(benchmark::State& state) { runPath(state, geoharm::SimdLevel::AVX512F); }

void BM_singlePointAvx512Fma(benchmark::State& state) { runPath(state, geoharm::SimdLevel::AVX512F_FMA); }

/* The plain stages one after the other: the baseline of the fast path. */
void BM_evaluateAccelerationPlain(benchmark::State& state) {
    runEvaluations(state, geoharm::evaluateAccelerationPlain);
}

/* The harmonic sums alone through one routine, on the points' scalars:
   the SSE2 routine every processor runs against the 256-bit ones (with
   and without FMA division; with 16 registers for AVX2, 32 for AVX-512)
   that evaluateAcceleration takes where the processor has them. */
void runSums(benchmark::State& state, geoharm::SimdLevel level) {
    const geoharm::Routines* routines = routinesOrSkip(state, level);
    if (routines == nullptr) return;
    const geoharm::PointSums sums = routines->pointSums;
    std::vector<geoharm::FieldScalars> scalars;
    for (const auto& p : points()) scalars.push_back(geoharm::computeFieldScalars(p.x, p.y, p.z));
    const int n = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        double s[3];
        sums(scalars[i], n, n, s);
        benchmark::DoNotOptimize(s);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_harmonicSumsSse2(benchmark::State& state) {
    runSums(state, geoharm::SimdLevel::SSE2);
}

void BM_harmonicSumsAvx2(benchmark::State& state) {
    runSums(state, geoharm::SimdLevel::AVX2);
}

void BM_harmonicSumsAvx512(benchmark::State& state) {
    runSums(state, geoharm::SimdLevel::AVX512F);
}

void BM_harmonicSumsAvx2Fma(benchmark::State& state) {
    runSums(state, geoharm::SimdLevel::AVX2_FMA);
}

void BM_harmonicSumsAvx512Fma(benchmark::State& state) {
    runSums(state, geoharm::SimdLevel::AVX512F_FMA);
}

void BM_GeographicLibGradient(benchmark::State& state) {
    const geoharm_test::GeographicLibModel model(static_cast<int>(state.range(0)));
    const std::vector<geoharm::FieldInput>& pts = points();
    std::size_t i = 0;
    for (auto _ : state) {
        const double p[3] = {pts[i].x, pts[i].y, pts[i].z};
        double g[3];
        model.acceleration(p, g);
        benchmark::DoNotOptimize(g);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

/* The points as arrays of coordinates, `count` of them cycling through
   the fixed set. */
struct PointArrays {
    std::vector<double> x, y, z, ax, ay, az;
    explicit PointArrays(std::size_t count) : ax(count), ay(count), az(count) {
        for (std::size_t k = 0; k < count; k++) {
            const geoharm::FieldInput& p = points()[k % POINTS];
            x.push_back(p.x);
            y.push_back(p.y);
            z.push_back(p.z);
        }
    }
};

/* The POINTS points per iteration through one lane routine on one thread,
   N = M = the benchmark's argument. */
void runLanes(benchmark::State& state, geoharm::SimdLevel level) {
    const geoharm::Routines* routines = routinesOrSkip(state, level);
    if (routines == nullptr) return;
    PointArrays p(POINTS);
    const auto n = static_cast<std::int8_t>(state.range(0));
    for (auto _ : state) {
        geoharm::evaluateAccelerationManyWith(*routines, 1, POINTS, p.x.data(), p.y.data(), p.z.data(), n, n,
                                              p.ax.data(), p.ay.data(), p.az.data());
        benchmark::DoNotOptimize(p.ax.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

void BM_manyPointsSse2(benchmark::State& state) { runLanes(state, geoharm::SimdLevel::SSE2); }

void BM_manyPointsAvx2(benchmark::State& state) { runLanes(state, geoharm::SimdLevel::AVX2); }

void BM_manyPointsAvx2Fma(benchmark::State& state) { runLanes(state, geoharm::SimdLevel::AVX2_FMA); }

void BM_manyPointsAvx512(benchmark::State& state) { runLanes(state, geoharm::SimdLevel::AVX512F); }

void BM_manyPointsAvx512Fma(benchmark::State& state) { runLanes(state, geoharm::SimdLevel::AVX512F_FMA); }

/* 100,000 points at N = M = 10 through the widest routine, on the
   benchmark's argument in threads (0: every processor the process may
   use); wall-clock time, since the work is spread over threads. */
void BM_manyPointsThreads(benchmark::State& state) {
    constexpr std::size_t COUNT = 100000;
    PointArrays p(COUNT);
    const int threads = state.range(0) == 0 ? geoharm::usableProcessors() : static_cast<int>(state.range(0));
    for (auto _ : state) {
        geoharm::evaluateAccelerationManyWith(geoharm::activeRoutines(), threads, COUNT, p.x.data(),
                                              p.y.data(), p.z.data(), 10, 10, p.ax.data(), p.ay.data(),
                                              p.az.data());
        benchmark::DoNotOptimize(p.ax.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(COUNT));
    state.counters["threads"] = threads;
}

/* The installed interface's many-point call, geoharm::accelerationMany, on
   the benchmark's argument in points at N = M = 10, as a program (or the
   Python package) calls it: the widest routine, the threads it chooses
   (GEOHARM_NUM_THREADS limits them); wall-clock time, and the CPU time of
   every thread of the process.  The Python timing script
   (python/bench/python_speed.py) holds the Python call to it. */
void BM_accelerationMany(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    PointArrays p(count);
    for (auto _ : state) {
        geoharm::accelerationMany(count, p.x.data(), p.y.data(), p.z.data(), 10, 10, p.ax.data(), p.ay.data(),
                                  p.az.data());
        benchmark::DoNotOptimize(p.ax.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}

/* One gradient per iteration (tensor, acceleration and potential), cycling
   through the points, N = M = the benchmark's argument. */
void runGradients(benchmark::State& state, void (*gradient)(const geoharm::FieldInput&, double[9], double[3], double*)) {
    if (gradient == nullptr) return;
    std::vector<geoharm::FieldInput> pts = points();
    for (auto& p : pts) p.n = p.m = static_cast<std::int8_t>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        double T[9], a[3], U;
        gradient(pts[i], T, a, &U);
        benchmark::DoNotOptimize(T);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(U);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

/* The entry point, as the C++ interface calls it (against
   BM_evaluateAcceleration), and each single-point routine. */
void BM_evaluateGradient(benchmark::State& state) { runGradients(state, geoharm::evaluateGradient); }

/* A level's one-point gradient routine, or null where it is skipped. */
geoharm::PointGradient levelGradient(benchmark::State& state, geoharm::SimdLevel level) {
    const geoharm::Routines* routines = routinesOrSkip(state, level);
    return routines != nullptr ? routines->pointGradient : nullptr;
}

void BM_gradientSse2(benchmark::State& state) {
    runGradients(state, levelGradient(state, geoharm::SimdLevel::SSE2));
}

void BM_gradientAvx2(benchmark::State& state) {
    runGradients(state, levelGradient(state, geoharm::SimdLevel::AVX2));
}

/* The POINTS points per iteration through one gradient lane routine on
   one thread (against BM_manyPoints* of the same routine); every output,
   or the tensor alone. */
void runGradientLanes(benchmark::State& state, geoharm::SimdLevel level, bool tensorOnly) {
    const geoharm::Routines* routines = routinesOrSkip(state, level);
    if (routines == nullptr) return;
    PointArrays p(POINTS);
    std::vector<double> T(9 * POINTS), U(POINTS);
    const auto n = static_cast<std::int8_t>(state.range(0));
    for (auto _ : state) {
        geoharm::evaluateGradientManyWith(*routines, 1, POINTS, p.x.data(), p.y.data(), p.z.data(), n, n, T.data(),
                                          tensorOnly ? nullptr : p.ax.data(), tensorOnly ? nullptr : p.ay.data(),
                                          tensorOnly ? nullptr : p.az.data(), tensorOnly ? nullptr : U.data());
        benchmark::DoNotOptimize(T.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

void BM_gradientManySse2(benchmark::State& state) { runGradientLanes(state, geoharm::SimdLevel::SSE2, false); }

void BM_gradientManyAvx2(benchmark::State& state) { runGradientLanes(state, geoharm::SimdLevel::AVX2, false); }

void BM_gradientManyAvx2Fma(benchmark::State& state) { runGradientLanes(state, geoharm::SimdLevel::AVX2_FMA, false); }

void BM_gradientManyAvx512(benchmark::State& state) { runGradientLanes(state, geoharm::SimdLevel::AVX512F, false); }

void BM_gradientManyAvx512Fma(benchmark::State& state) {
    runGradientLanes(state, geoharm::SimdLevel::AVX512F_FMA, false);
}

void BM_gradientManyTensorOnly(benchmark::State& state) {
    runGradientLanes(state, geoharm::activeRoutines().level, true);
}

/* The many-point entry point on POINTS points (the widest routine, one
   thread at this count), one item a point ... */
void BM_gradientManyEntry(benchmark::State& state) {
    PointArrays p(POINTS);
    std::vector<double> T(9 * POINTS), U(POINTS);
    const auto n = static_cast<std::int8_t>(state.range(0));
    for (auto _ : state) {
        geoharm::evaluateGradientMany(POINTS, p.x.data(), p.y.data(), p.z.data(), n, n, T.data(), p.ax.data(),
                                      p.ay.data(), p.az.data(), U.data());
        benchmark::DoNotOptimize(T.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

/* ... against what it replaces: six accelerations per point, x +- h, y +-
   h, z +- h (h = 1 m), one item a point. */
void BM_sixAccelerationsPerPoint(benchmark::State& state) {
    std::vector<geoharm::FieldInput> pts = points();
    for (auto& p : pts) p.n = p.m = static_cast<std::int8_t>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        double a[6][3];
        for (int k = 0; k < 6; k++) {
            geoharm::FieldInput q = pts[i];
            (&q.x)[k / 2] += k % 2 == 0 ? 1.0 : -1.0;
            geoharm::evaluateAcceleration(q, a[k]);
        }
        benchmark::DoNotOptimize(a);
        i = (i + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

/* The one-NaN rule alone, as the evaluation applies it at its final
   stores, on the results of the POINTS points (every tenth component a
   NaN of another sign): three components per item, against
   BM_evaluateAcceleration; and two points per SSE2 register, against
   BM_manyPointsSse2.  What the rule costs per point, beside what a point
   costs. */
struct ResultArrays {
    std::vector<double> a;
    ResultArrays() : a(3 * POINTS) {
        PointArrays p(POINTS);
        geoharm::evaluateAccelerationManyWith(*geoharm::levelRoutines(geoharm::SimdLevel::SSE2), 1, POINTS, p.x.data(), p.y.data(),
                                              p.z.data(), 10, 10, a.data(), a.data() + POINTS, a.data() + 2 * POINTS);
        for (std::size_t i = 0; i < a.size(); i += 10) a[i] = -__builtin_nan("");
    }
};

void BM_defaultNanAlone(benchmark::State& state) {
    ResultArrays r;
    std::size_t k = 0;
    for (auto _ : state) {
        double out[3];
        for (int c = 0; c < 3; c++) out[c] = geoharm::toDefaultNan(r.a[3 * k + static_cast<std::size_t>(c)]);
        benchmark::DoNotOptimize(out);
        k = (k + 1) % POINTS;
    }
    state.SetItemsProcessed(state.iterations());
}

struct Sse2Lanes {
    using V = __m128d;
    static V set1(double v) { return _mm_set1_pd(v); }
};

void BM_defaultNanLanesSse2(benchmark::State& state) {
    ResultArrays r;
    std::vector<double> out(r.a.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < r.a.size(); i += 2)
            _mm_storeu_pd(&out[i], geoharm::toDefaultNanLanes<Sse2Lanes>(_mm_loadu_pd(&r.a[i])));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

}  // namespace

BENCHMARK(BM_evaluateAcceleration)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_evaluateAccelerationUnguarded)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_fixedFpStateAlone);
BENCHMARK(BM_singlePointSse2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_singlePointAvx2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_singlePointAvx2Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_singlePointAvx512)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_singlePointAvx512Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_evaluateAccelerationPlain)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_harmonicSumsSse2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_harmonicSumsAvx2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_harmonicSumsAvx2Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_harmonicSumsAvx512)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_harmonicSumsAvx512Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_GeographicLibGradient)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsSse2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsAvx2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsAvx2Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsAvx512)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsAvx512Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_manyPointsThreads)->Arg(1)->Arg(0)->UseRealTime();
BENCHMARK(BM_accelerationMany)->Arg(100000)->Arg(1000000)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_evaluateGradient)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientSse2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientAvx2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManySse2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManyAvx2)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManyAvx2Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManyAvx512)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManyAvx512Fma)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_gradientManyTensorOnly)->Arg(10);
BENCHMARK(BM_gradientManyEntry)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_sixAccelerationsPerPoint)->Arg(10)->Arg(4)->Arg(2);
BENCHMARK(BM_defaultNanAlone);
BENCHMARK(BM_defaultNanLanesSse2);

BENCHMARK_MAIN();
