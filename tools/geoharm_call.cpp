/*
 * geoharm-call - the model through a plug-in file, called as the host
 * calls it (the stand-in host of host/).
 *
 * Reads records "x y z N M" from standard input and writes "a_x a_y a_z"
 * for each, exactly as geoharm-eval does (formats in record_io.h), but each
 * result comes from one call of the plug-in named on the command line:
 * the position as a 3x1 double array, N and M as int8 scalars.  Options
 * change how the arguments are passed, to drive the gateway's edge cases:
 *
 *   --class CLASS      N and M as scalars of CLASS (converted as the
 *                      caller's language converts: rounded, saturated)
 *   --n-class CLASS    N alone as CLASS;  --m-class CLASS: M alone
 *                      CLASS: double single logical char int8 uint8 int16
 *                      uint16 int32 uint32 int64 uint64
 *   --nrhs K           pass only the first K inputs (K > 3: empty doubles
 *                      follow the three)
 *   --position RxC     the position as an R x C double array, x, y, z
 *                      first and zeros after them
 *   --nlhs K           the number of outputs asked for (default 1);
 *                      output slot 0 is printed whatever K is
 *   --fp-state S       call the plug-in from the floating-point state S
 *                      (caller_fp_states.h: default unmasked upward
 *                      downward towardzero ftz-daz), set just before each
 *                      call; after the call the state must be S again
 *
 * A batch plug-in (file name geoharm_batch.*) is called once for each run
 * of consecutive records with the same N and M, the positions as a K-by-3
 * array, and prints the same lines (batch_calls.h); --position does not
 * apply to it, and --nlhs 3 prints from its three K-by-1 outputs.  The
 * gradient plug-in (geoharm_gradient.*) is called the same way, with three
 * outputs (--nlhs 0, 1 or 2 is refused: the line needs all three), and
 * prints for each record the line "U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz
 * Tzx Tzy Tzz" that geoharm-eval --gradient prints.
 *
 * Exit status: 0 after all records; 1 at a malformed record (reported with
 * its line number on standard error); 2 for a bad command line, a file
 * that does not load or arguments the host cannot allocate; 3 when a call
 * ends with an error through the host, printed as "identifier: message"
 * on standard error; 4 when standard input cannot be read or standard
 * output cannot be written; 5 when a call returns (or ends with an error)
 * with the caller's floating-point state changed (tool_exit.h).  Lines of
 * the records before the failing one have been written.
 */
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "batch_calls.h"
#include "caller_fp_states.h"
#include "plugin_host.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

using geoharm::MexInt;
using geoharm::MexPointer;
using geoharm::MexSize;
namespace host = geoharm::host;

struct ClassName {
    const char* name;
    MexInt id;
};

const ClassName CLASS_NAMES[] = {
    {"double", geoharm::DOUBLE_CLASS}, {"single", geoharm::SINGLE_CLASS}, {"logical", geoharm::LOGICAL_CLASS},
    {"char", geoharm::CHAR_CLASS},     {"int8", geoharm::INT8_CLASS},     {"uint8", geoharm::UINT8_CLASS},
    {"int16", geoharm::INT16_CLASS},   {"uint16", geoharm::UINT16_CLASS}, {"int32", geoharm::INT32_CLASS},
    {"uint32", geoharm::UINT32_CLASS}, {"int64", geoharm::INT64_CLASS},   {"uint64", geoharm::UINT64_CLASS},
};

struct Options {
    std::string plugin;
    MexInt nClass = geoharm::INT8_CLASS;
    MexInt mClass = geoharm::INT8_CLASS;
    int nrhs = 3;
    int nlhs = 1;
    bool nlhsGiven = false;
    std::vector<MexSize> positionDims{3, 1};
    unsigned int callerMxcsr = 0x1F80u;
};

bool parseClass(const char* text, MexInt& id) {
    for (const ClassName& c : CLASS_NAMES) {
        if (std::strcmp(text, c.name) == 0) {
            id = c.id;
            return true;
        }
    }
    return false;
}

bool parseCount(const char* text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > 1000) return false;
    value = static_cast<int>(v);
    return true;
}

bool parseDims(const char* text, std::vector<MexSize>& dims) {
    char* end = nullptr;
    const long rows = std::strtol(text, &end, 10);
    if (end == text || *end != 'x') return false;
    const char* colsText = end + 1;
    const long cols = std::strtol(colsText, &end, 10);
    if (end == colsText || *end != '\0' || rows < 0 || cols < 0 || rows > 1000000 || cols > 1000000) return false;
    dims = {rows, cols};
    return true;
}

bool parseOptions(int argc, char** argv, Options& o) {
    if (argc < 2 || argv[1][0] == '-') return false;
    o.plugin = argv[1];
    for (int i = 2; i < argc; i++) {
        const std::string opt = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        bool good;
        if (opt == "--class") {
            good = parseClass(value, o.nClass) && parseClass(value, o.mClass);
        } else if (opt == "--n-class") {
            good = parseClass(value, o.nClass);
        } else if (opt == "--m-class") {
            good = parseClass(value, o.mClass);
        } else if (opt == "--nrhs") {
            good = parseCount(value, o.nrhs);
        } else if (opt == "--nlhs") {
            good = parseCount(value, o.nlhs);
            o.nlhsGiven = true;
        } else if (opt == "--position") {
            good = parseDims(value, o.positionDims);
        } else if (opt == "--fp-state") {
            good = geoharm::callerFpStateNamed(value, o.callerMxcsr);
        } else {
            good = false;
        }
        if (!good) return false;
    }
    return true;
}

void usage(const char* argv0) {
    std::fprintf(stderr,
                 "usage: %s PLUGIN [--class C] [--n-class C] [--m-class C] [--nrhs K] [--nlhs K]\n"
                 "                    [--position RxC] [--fp-state S] < records\n"
                 "  reads lines 'x y z N M', calls PLUGIN for each through the stand-in host\n"
                 "  and writes 'a_x a_y a_z' (m/s^2) as %%.17g; N and M go in as int8 unless\n"
                 "  C (double single logical char int8 uint8 int16 uint16 int32 uint32 int64\n"
                 "  uint64) says otherwise; S (default unmasked upward downward towardzero\n"
                 "  ftz-daz) is the floating-point state the plug-in is called from; a\n"
                 "  PLUGIN named geoharm_batch.* is called once per run of records with the\n"
                 "  same N and M (no --position); geoharm_gradient.* likewise, with three\n"
                 "  outputs, writing 'U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz'\n",
                 argv0);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) {
        usage(argv[0]);
        return geoharm::STATUS_USAGE;
    }
    const bool gradient = geoharm::isGradientPlugin(o.plugin);
    const bool batch = geoharm::isBatchPlugin(o.plugin) || gradient;
    if (gradient && !o.nlhsGiven) o.nlhs = 3;
    if ((batch && o.positionDims != std::vector<MexSize>{3, 1}) || (gradient && o.nlhs < 3)) {
        usage(argv[0]);
        return geoharm::STATUS_USAGE;
    }
    host::Plugin plugin;
    std::string why;
    if (!host::loadPlugin(o.plugin, plugin, why)) {
        std::fprintf(stderr, "geoharm-call: %s\n", why.c_str());
        return geoharm::STATUS_USAGE;
    }

    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin);
    geoharm::ResultOutput output("geoharm-call");
    int status = geoharm::STATUS_DONE;
    geoharm::FieldInput in;
    geoharm::ReadStatus read = geoharm::ReadStatus::End;
    if (batch) {
        const geoharm::BatchCallOptions batchOptions{o.nClass, o.mClass, o.nrhs, o.nlhs, o.callerMxcsr, gradient};
        status = geoharm::runBatchCalls(plugin, batchOptions, reader, output, read, why);
    }
    while (!batch && status == geoharm::STATUS_DONE &&
           (read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        /* The arguments, as the options ask for them; an array the host
           cannot allocate (--position too large) ends the run. */
        std::vector<host::Array> args;
        try {
            args.push_back(host::makePosition(in.x, in.y, in.z, o.positionDims));
            args.push_back(host::makeScalar(o.nClass, in.n));
            args.push_back(host::makeScalar(o.mClass, in.m));
            while (static_cast<int>(args.size()) < o.nrhs)
                args.push_back(host::makeArray(geoharm::DOUBLE_CLASS, {0, 0}));
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "geoharm-call: the host cannot allocate the arguments (position %lldx%lld)\n",
                         static_cast<long long>(o.positionDims[0]), static_cast<long long>(o.positionDims[1]));
            status = geoharm::STATUS_USAGE;
            break;
        }
        std::vector<MexPointer> inputs;
        for (int i = 0; i < o.nrhs; i++) inputs.push_back(args[static_cast<std::size_t>(i)].handle());

        /* The call, from the caller's floating-point state. */
        host::CallResult r;
        if (!geoharm::callFromState(o.callerMxcsr, "geoharm-call", reader.lineNumber(),
                                    [&] { r = host::callPlugin(plugin, o.nlhs, inputs); })) {
            status = geoharm::STATUS_FP_STATE;
            break;
        }
        if (!r.ok) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s: %s\n", r.error.identifier.c_str(), r.error.message.c_str());
            status = geoharm::STATUS_PLUGIN_ERROR;
            break;
        }
        const double* a = static_cast<const double*>(r.output.data());
        if (!output.write(a)) break;
    }
    if (status == geoharm::STATUS_DONE) status = geoharm::readEndStatus("geoharm-call", read, reader, why);
    host::unloadPlugin(plugin);
    return output.finish(status);
}
