/*
 * batch_calls.cpp - geoharm-call's batch mode (batch_calls.h): runs of
 * records with the same N and M, one plug-in call per run, for
 * geoharm_batch and geoharm_gradient.
 */
#include "batch_calls.h"

#include <cstdio>
#include <new>
#include <vector>

#include "caller_fp_states.h"

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

/* The lines of a gradient call's outputs T (3-by-3-by-K), A (K-by-3) and
   U (K-by-1). */
int writeGradientLines(const std::vector<host::Array>& outputs, std::size_t k, ResultOutput& output) {
    const double* T = static_cast<const double*>(outputs[0].data());
    const double* A = static_cast<const double*>(outputs[1].data());
    const double* U = static_cast<const double*>(outputs[2].data());
    for (std::size_t i = 0; i < k; i++) {
        const double a[3] = {A[i], A[k + i], A[2 * k + i]};
        double line[GRADIENT_LINE_VALUES];
        gradientLine(U[i], a, &T[9 * i], line);
        if (!output.write(line, GRADIENT_LINE_VALUES)) return STATUS_IO;
    }
    return STATUS_DONE;
}

/* One call of the plug-in for the run, and its lines: STATUS_DONE, or the
   status of the failure (reported on standard error; STATUS_IO, a line
   that could not be written, by output.finish). */
int callForRun(const host::Plugin& plugin, const BatchCallOptions& o, const Run& run, long line,
               ResultOutput& output) {
    /* The arguments, as the options ask for them. */
    std::vector<host::Array> args;
    try {
        args.push_back(positionsOf(run));
        args.push_back(host::makeScalar(o.nClass, run.n));
        args.push_back(host::makeScalar(o.mClass, run.m));
        while (static_cast<int>(args.size()) < o.nrhs) args.push_back(host::makeArray(DOUBLE_CLASS, {0, 0}));
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        std::fprintf(stderr, "geoharm-call: the host cannot allocate the arguments (positions %zux3)\n",
                     run.x.size());
        return STATUS_USAGE;
    }
    std::vector<MexPointer> inputs;
    for (int i = 0; i < o.nrhs; i++) inputs.push_back(args[static_cast<std::size_t>(i)].handle());

    /* The call, from the caller's floating-point state; every output slot
       is owned here afterwards. */
    std::vector<MexPointer> plhs(o.nlhs > 1 ? static_cast<std::size_t>(o.nlhs) : 1, 0);
    host::HostError error;
    std::size_t made = 0;
    bool ok = false;
    const bool stateKept = callFromState(o.callerMxcsr, "geoharm-call", line, [&] {
        ok = host::callEntryPoint(plugin.entry, o.nlhs, plhs.data(), o.nrhs, inputs.empty() ? nullptr : inputs.data(),
                                  error, made);
    });
    std::vector<host::Array> outputs;
    for (MexPointer h : plhs) outputs.emplace_back(h);
    if (!stateKept) return STATUS_FP_STATE;
    if (!ok) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", error.identifier.c_str(), error.message.c_str());
        return STATUS_PLUGIN_ERROR;
    }

    const std::size_t k = run.x.size();
    if (o.gradient) return writeGradientLines(outputs, k, output);

    /* Row k of a K-by-3 result, or element k of each K-by-1 one. */
    const double* columns[3];
    for (std::size_t c = 0; c < 3; c++) {
        columns[c] = o.nlhs == 3 ? static_cast<const double*>(outputs[c].data())
                                 : static_cast<const double*>(outputs[0].data()) + c * k;
    }
    for (std::size_t i = 0; i < k; i++) {
        const double a[3] = {columns[0][i], columns[1][i], columns[2][i]};
        /* Output that cannot be written ends the run: no further calls. */
        if (!output.write(a)) return STATUS_IO;
    }
    return STATUS_DONE;
}

}  // namespace

bool isBatchPlugin(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.rfind("geoharm_batch.", 0) == 0;
}

bool isGradientPlugin(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.rfind("geoharm_gradient.", 0) == 0;
}

int runBatchCalls(const host::Plugin& plugin, const BatchCallOptions& options, RecordReader& reader,
                  ResultOutput& output, ReadStatus& read, std::string& why) {
    Run run;
    FieldInput record;
    while ((read = reader.next(record, why)) == ReadStatus::Record) {
        /* Another N or M ends the run. */
        if (!run.x.empty() && (record.n != run.n || record.m != run.m)) {
            const int status = callForRun(plugin, options, run, reader.lineNumber(), output);
            if (status != STATUS_DONE) return status;
            run = Run();
        }
        run.x.push_back(record.x);
        run.y.push_back(record.y);
        run.z.push_back(record.z);
        run.n = record.n;
        run.m = record.m;
    }
    /* The records before the end, or before a malformed record (reported
       afterwards, as one call each would have answered them first). */
    return run.x.empty() ? STATUS_DONE : callForRun(plugin, options, run, reader.lineNumber(), output);
}

}  // namespace geoharm
