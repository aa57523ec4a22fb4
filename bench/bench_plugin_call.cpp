// Cost of one call through the plug-in (argument checks, host routines,
// output array) next to the bare evaluation, in the same run: the
// difference is the gateway's and the stand-in host's share.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "point/evaluate_acceleration.h"
#include "plugin_host.h"

namespace {

namespace host = geoharm::host;

const host::Plugin& plugin() {
    static const host::Plugin p = [] {
        host::Plugin loaded;
        std::string why;
        if (!host::loadPlugin(GEOHARM_PLUGIN, loaded, why)) {
            std::fprintf(stderr, "%s\n", why.c_str());
            std::exit(1);
        }
        return loaded;
    }();
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

}  // namespace

BENCHMARK_MAIN();
