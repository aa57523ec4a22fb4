/*
 * plugin_calls.cpp - runs of records, one plug-in call each
 * (plugin_calls.h).
 */
#include "plugin_calls.h"

#include <cstdio>
#include <new>

#include "caller_fp_states.h"

namespace geoharm {

namespace {

const char* const TOOL = "geoharm-call";

/* One call of the plug-in for `records` (the last of them read from line
   `line`) and their lines: STATUS_DONE, or the status of the failure
   (reported on standard error; STATUS_IO, a line that could not be
   written, by output.finish). */
int callForRecords(const host::Plugin& plugin, CallMode mode, const CallOptions& o, const CallRecords& records,
                   long line, ResultOutput& output) {
    /* The arguments, as the options ask for them. */
    std::vector<host::Array> args;
    try {
        args.reserve(static_cast<std::size_t>(o.nrhs > 3 ? o.nrhs : 3));
        args.push_back(positionsArgument(mode, records, o.positionDims));
        args.push_back(host::makeScalar(o.nClass, records.n));
        args.push_back(host::makeScalar(o.mClass, records.m));
        while (static_cast<int>(args.size()) < o.nrhs) args.push_back(host::makeArray(DOUBLE_CLASS, {0, 0}));
    } catch (const std::bad_alloc&) {
        return outOfMemory(TOOL, "the host cannot create the arguments of a call");
    }
    /* A model struct, when given, goes first. */
    std::vector<MexPointer> inputs;
    if (o.model != 0) inputs.push_back(o.model);
    for (int i = 0; i < o.nrhs; i++) inputs.push_back(args[static_cast<std::size_t>(i)].handle());
    const MexInt nrhs = static_cast<MexInt>(inputs.size());

    /* The call, from the caller's floating-point state; every output slot
       is owned here afterwards. */
    std::vector<MexPointer> plhs(o.nlhs > 1 ? static_cast<std::size_t>(o.nlhs) : 1, 0);
    std::vector<host::Array> outputs;
    outputs.reserve(plhs.size());
    host::HostError error;
    std::size_t made = 0;
    bool ok = false;
    const bool stateKept = callFromState(o.callerMxcsr, TOOL, line, [&] {
        ok = host::callEntryPoint(plugin.entry, o.nlhs, plhs.data(), nrhs, inputs.empty() ? nullptr : inputs.data(),
                                  error, made);
    });
    for (MexPointer h : plhs) outputs.emplace_back(h);
    if (!stateKept) return STATUS_FP_STATE;
    if (!ok) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", error.identifier.c_str(), error.message.c_str());
        return error.raisedByHost ? STATUS_NO_MEMORY : STATUS_PLUGIN_ERROR;
    }

    /* What came back, checked before a value is read. */
    const ExpectedOutputs expected = expectedOutputs(mode, o.nlhs, records.size());
    std::string why;
    if (!checkOutputs(mode, expected, plhs.data(), plhs.size(), why)) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: line %ld: %s\n", TOOL, line, why.c_str());
        return STATUS_USAGE;
    }

    /* Value v of record i's line: element offset + stride i of its output. */
    const std::size_t width = expected.values.size();
    std::vector<const double*> starts(width);
    for (std::size_t v = 0; v < width; v++) {
        const ExpectedOutputs::Place& at = expected.values[v];
        starts[v] = static_cast<const double*>(outputs[at.slot].data()) + at.offset;
    }
    std::vector<double> values(width);
    for (std::size_t i = 0; i < records.size(); i++) {
        for (std::size_t v = 0; v < width; v++) values[v] = starts[v][expected.values[v].stride * i];
        /* Output that cannot be written ends the run: no further calls. */
        if (!output.write(values.data(), static_cast<int>(width))) return STATUS_IO;
    }
    return STATUS_DONE;
}

}  // namespace

int runPluginCalls(const host::Plugin& plugin, CallMode mode, const CallOptions& options, RecordReader& reader,
                   ResultOutput& output, ReadStatus& read, std::string& why) {
    /* Room for the longest run, taken once. */
    const std::size_t capacity = recordsPerCall(mode);
    CallRecords run;
    run.x.reserve(capacity);
    run.y.reserve(capacity);
    run.z.reserve(capacity);
    const auto callAndClear = [&](long line) {
        const int status = callForRecords(plugin, mode, options, run, line, output);
        run.x.clear();
        run.y.clear();
        run.z.clear();
        return status;
    };

    Record record;
    long line = 0;
    while ((read = reader.next(record, why)) == ReadStatus::Record) {
        /* Another N or M ends the run. */
        if (run.size() > 0 && (record.n != run.n || record.m != run.m)) {
            const int status = callAndClear(line);
            if (status != STATUS_DONE) return status;
        }
        run.x.push_back(record.x);
        run.y.push_back(record.y);
        run.z.push_back(record.z);
        run.n = record.n;
        run.m = record.m;
        line = reader.lineNumber();
        /* A full run is called at once. */
        if (run.size() == capacity) {
            const int status = callAndClear(line);
            if (status != STATUS_DONE) return status;
        }
    }
    /* The records before the end, or before a malformed record (reported
       afterwards, as one call each would have answered them first). */
    return run.size() == 0 ? STATUS_DONE : callAndClear(line);
}

}  // namespace geoharm
