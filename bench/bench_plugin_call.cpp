// Cost of one call through the plug-in (argument checks, host routines,
// output array) next to the bare evaluation, in the same run: the
// difference is the gateway's and the stand-in host's share.  And the
// gradient as a MATLAB user gets it: one geoharm_gradient call for 1024
// points against six geoharm calls per point (central differences), per
// point.  And a model struct of degree 70 (geoharm_load's, kept by the
// plug-in after the first call) at one point through geoharm_batch, next
// to the library's one-point evaluation of the same model.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <geoharm/gravity_model.h>

#include "model_struct.h"
#include "icgem_writer.h"
#include "synthetic_model.h"
#include "point/evaluate_acceleration.h"
#include "plugin_host.h"

namespace {

namespace host = geoharm::host;

host::Plugin loaded(const char* path) {
    host::Plugin p;
    std::string why;
    if (!host::loadPlugin(path, p, why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        std::exit(1);
    }
    return p;
}

const host::Plugin& plugin() {
    static const host::Plugin p = loaded(GEOHARM_PLUGIN);
    return p;
}

void BM_bareEvaluation(benchmark::State& state) {
    const geoharm::FieldInput in{7000000.0, 1000000.0, 2000000.0, 10, 10};
    for (auto _ : state) {
        double a[3];
        geoharm::evaluateAcceleration(in, a);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_bareEvaluation);

/* One host call with N and M of the given class; the output freed each time. */
void BM_pluginCall(benchmark::State& state) {
    const geoharm::MexInt classId = static_cast<geoharm::MexInt>(state.range(0));
    const host::Array pos = host::makePosition(7000000.0, 1000000.0, 2000000.0);
    const host::Array n = host::makeScalar(classId, 10);
    const host::Array m = host::makeScalar(classId, 10);
    const geoharm::MexPointer prhs[3] = {pos.handle(), n.handle(), m.handle()};
    host::HostError error;
    std::size_t made;
    for (auto _ : state) {
        geoharm::MexPointer plhs[1] = {0};
        host::callEntryPoint(plugin().entry, 1, plhs, 3, prhs, error, made);
        benchmark::DoNotOptimize(plhs[0]);
        host::destroyArray(plhs[0]);
    }
}
BENCHMARK(BM_pluginCall)->Arg(geoharm::INT8_CLASS)->Arg(geoharm::DOUBLE_CLASS);

/* Six geoharm calls per point, x +- 1 m, y +- 1 m, z +- 1 m; one item a
   point. */
void BM_sixPluginCallsPerPoint(benchmark::State& state) {
    const host::Array n = host::makeScalar(geoharm::DOUBLE_CLASS, 10);
    std::vector<host::Array> positions;
    for (int k = 0; k < 6; k++) {
        double p[3] = {7000000.0, 1000000.0, 2000000.0};
        p[k / 2] += k % 2 == 0 ? 1.0 : -1.0;
        positions.push_back(host::makePosition(p[0], p[1], p[2]));
    }
    host::HostError error;
    std::size_t made;
    for (auto _ : state) {
        for (const host::Array& pos : positions) {
            const geoharm::MexPointer prhs[3] = {pos.handle(), n.handle(), n.handle()};
            geoharm::MexPointer plhs[1] = {0};
            host::callEntryPoint(plugin().entry, 1, plhs, 3, prhs, error, made);
            benchmark::DoNotOptimize(plhs[0]);
            host::destroyArray(plhs[0]);
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_sixPluginCallsPerPoint);

/* One geoharm_gradient call, [T, A, U], for 1024 points; one item a point. */
void BM_gradientPluginCall(benchmark::State& state) {
    static const host::Plugin gradient = loaded(GEOHARM_GRADIENT_PLUGIN);
    constexpr int K = 1024;
    host::Array pos = host::makeArray(geoharm::DOUBLE_CLASS, {K, 3});
    double* p = static_cast<double*>(pos.data());
    for (int k = 0; k < K; k++) {
        p[k] = 7000000.0 - 1000.0 * k;
        p[K + k] = 1000000.0 + 3000.0 * k;
        p[2 * K + k] = 2000000.0 - 2000.0 * k;
    }
    const host::Array n = host::makeScalar(geoharm::DOUBLE_CLASS, 10);
    const geoharm::MexPointer prhs[3] = {pos.handle(), n.handle(), n.handle()};
    host::HostError error;
    std::size_t made;
    for (auto _ : state) {
        geoharm::MexPointer plhs[3] = {0, 0, 0};
        host::callEntryPoint(gradient.entry, 3, plhs, 3, prhs, error, made);
        benchmark::DoNotOptimize(plhs[0]);
        for (geoharm::MexPointer h : plhs) host::destroyArray(h);
    }
    state.SetItemsProcessed(state.iterations() * K);
}
BENCHMARK(BM_gradientPluginCall);

/* A synthetic degree-70 model, written once. */
const char* modelFile() {
    static const char* path = [] {
        const char* name = "bench_plugin_model_70.gfc";
        std::FILE* f = std::fopen(name, "wb");
        if (f == nullptr || !geoharm_test::writeIcgem(f, geoharm_test::makeSyntheticModel(70, 3), {})) std::exit(1);
        std::fclose(f);
        return name;
    }();
    return path;
}

void BM_modelEvaluation(benchmark::State& state) {
    char message[256];
    const geoharm::GravityModel model = geoharm::GravityModel::load(modelFile(), nullptr, message, sizeof message);
    const double p[3] = {7000000.0, 1000000.0, 2000000.0};
    for (auto _ : state) {
        double a[3];
        model.acceleration(p, 70, 70, a);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_modelEvaluation);

void BM_modelPluginCall(benchmark::State& state) {
    static const host::Plugin batch = loaded(GEOHARM_BATCH_PLUGIN), file = loaded(GEOHARM_MODEL_FILE_PLUGIN);
    host::Array model;
    std::string why;
    if (!host::loadModelStruct(file, modelFile(), nullptr, model, why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    host::Array pos = host::makeArray(geoharm::DOUBLE_CLASS, {1, 3});
    const double p[3] = {7000000.0, 1000000.0, 2000000.0};
    for (int i = 0; i < 3; i++) static_cast<double*>(pos.data())[i] = p[i];
    const host::Array n = host::makeScalar(geoharm::DOUBLE_CLASS, 70);
    const geoharm::MexPointer prhs[4] = {model.handle(), pos.handle(), n.handle(), n.handle()};
    host::HostError error;
    std::size_t made;
    for (auto _ : state) {
        geoharm::MexPointer plhs[1] = {0};
        host::callEntryPoint(batch.entry, 1, plhs, 4, prhs, error, made);
        benchmark::DoNotOptimize(plhs[0]);
        host::destroyArray(plhs[0]);
    }
}
BENCHMARK(BM_modelPluginCall);

}  // namespace

BENCHMARK_MAIN();
