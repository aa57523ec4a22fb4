/*
 * batch_calls.cpp - geoharm-call's batch mode (batch_calls.h): runs of
 * records with the same N and M, one plug-in call per run.
 */
#include "batch_calls.h"

#include <cstdio>
#include <vector>

#include "record_io.h"

namespace geoharm {

namespace {

/* Consecutive records with one N and M. */
struct Run {
    std::vector<double> x, y, z;
    std::int8_t n = 0;
    std::int8_t m = 0;
};

/* The run's positions as a K-by-3 double array: columns x, y, z. */
host::Array positionsOf(const Run& run) {
    const std::size_t k = run.x.size();
    host::Array p = host::makeArray(DOUBLE_CLASS, {static_cast<MexSize>(k), 3});
    double* data = static_cast<double*>(p.data());
    for (std::size_t i = 0; i < k; i++) {
        data[i] = run.x[i];
        data[k + i] = run.y[i];
        data[2 * k + i] = run.z[i];
    }
    return p;
}

/* One call of the plug-in for the run, and its lines; 0, or 3 when the
   plug-in ended with an error. */
int callForRun(const host::Plugin& plugin, const BatchCallOptions& o, const Run& run) {
    /* The arguments, as the options ask for them. */
    std::vector<host::Array> args;
    args.push_back(positionsOf(run));
    args.push_back(host::makeScalar(o.nClass, run.n));
    args.push_back(host::makeScalar(o.mClass, run.m));
    while (static_cast<int>(args.size()) < o.nrhs) args.push_back(host::makeArray(DOUBLE_CLASS, {0, 0}));
    std::vector<MexPointer> inputs;
    for (int i = 0; i < o.nrhs; i++) inputs.push_back(args[static_cast<std::size_t>(i)].handle());

    /* The call; every output slot is owned here afterwards. */
    std::vector<MexPointer> plhs(o.nlhs > 1 ? static_cast<std::size_t>(o.nlhs) : 1, 0);
    host::HostError error;
    std::size_t made = 0;
    const bool ok = host::callEntryPoint(plugin.entry, o.nlhs, plhs.data(), o.nrhs,
                                         inputs.empty() ? nullptr : inputs.data(), error, made);
    std::vector<host::Array> outputs;
    for (MexPointer h : plhs) outputs.emplace_back(h);
    if (!ok) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", error.identifier.c_str(), error.message.c_str());
        return 3;
    }

    /* Row k of a K-by-3 result, or element k of each K-by-1 one. */
    const std::size_t k = run.x.size();
    const double* columns[3];
    for (std::size_t c = 0; c < 3; c++) {
        columns[c] = o.nlhs == 3 ? static_cast<const double*>(outputs[c].data())
                                 : static_cast<const double*>(outputs[0].data()) + c * k;
    }
    for (std::size_t i = 0; i < k; i++) {
        const double a[3] = {columns[0][i], columns[1][i], columns[2][i]};
        std::printf("%s\n", formatResult(a).c_str());
    }
    return 0;
}

}  // namespace

bool isBatchPlugin(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.rfind("geoharm_batch.", 0) == 0;
}

int runBatchCalls(const host::Plugin& plugin, const BatchCallOptions& options, std::istream& in) {
    Run run;
    std::string line;
    std::string why;
    long lineNo = 0;
    while (std::getline(in, line)) {
        lineNo++;
        FieldInput record;
        const RecordKind kind = parseRecord(line, record, why);
        if (kind == RecordKind::Empty) continue;
        if (kind == RecordKind::Malformed) {
            /* The records before it are answered first, as one call each
               would have answered them. */
            const int status = run.x.empty() ? 0 : callForRun(plugin, options, run);
            if (status != 0) return status;
            std::fflush(stdout);
            std::fprintf(stderr, "geoharm-call: line %ld: %s\n", lineNo, why.c_str());
            return 1;
        }
        /* Another N or M ends the run. */
        if (!run.x.empty() && (record.n != run.n || record.m != run.m)) {
            const int status = callForRun(plugin, options, run);
            if (status != 0) return status;
            run = Run();
        }
        run.x.push_back(record.x);
        run.y.push_back(record.y);
        run.z.push_back(record.z);
        run.n = record.n;
        run.m = record.m;
    }
    return run.x.empty() ? 0 : callForRun(plugin, options, run);
}

}  // namespace geoharm
