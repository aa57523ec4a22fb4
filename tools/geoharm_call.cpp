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
 *   --bits             write each double as the 16 hexadecimal digits of
 *                      its bits (record_io.h), NaN included
 *   --fp-state S       call the plug-in from the floating-point state S
 *                      (caller_fp_states.h: default unmasked upward
 *                      downward towardzero ftz-daz), set just before each
 *                      call; after the call the state must be S again
 *   --model FILE       (batch and gradient plug-ins) the model of an ICGEM
 *                      file as the first input, the struct geoharm_load
 *                      makes, through the plug-in geoharm_model_file beside
 *                      PLUGIN; N and M then any int, as doubles unless a
 *                      class option says otherwise
 *   --epoch E          the epoch of the model's time-variable terms
 *
 * Options may come before or after PLUGIN.  A batch plug-in (file name
 * geoharm_batch.*) is called once for each run of consecutive records
 * with the same N and M (at most RECORDS_AT_ONCE), the positions as a
 * K-by-3 array, and prints the same lines; --position does not apply to
 * it, and --nlhs 3 prints from its three K-by-1 outputs.  The gradient
 * plug-in (geoharm_gradient.*) is called the same way, with three outputs
 * (--nlhs 0, 1 or 2 is refused: the line needs all three), and prints for
 * each record the line "U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy
 * Tzz" that geoharm-eval --gradient prints.  What each kind of plug-in is
 * given and must give back is in call_modes.h: outputs of another class
 * or size end the run.
 *
 * Exit status: 0 after all records; 1 at a malformed record (reported with
 * its line number on standard error); 2 for a bad command line, a file
 * that does not load (plug-in or --model), a --position array the host cannot allocate, or a
 * plug-in whose outputs are not those of the kind its name says; 3 when a
 * call ends with an error through the host, printed as "identifier:
 * message" on standard error; 4 when standard input cannot be read or
 * standard output cannot be written; 5 when a call returns (or ends with an
 * error) with the caller's floating-point state changed; 6 when memory ran
 * out (tool_exit.h).  Lines of the records before the failing one have
 * been written.
 */
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "call_modes.h"
#include "caller_fp_states.h"
#include "model_struct.h"
#include "plugin_calls.h"
#include "plugin_host.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

using geoharm::MexInt;
using geoharm::MexSize;
namespace host = geoharm::host;

struct Options {
    std::string plugin;
    geoharm::CallOptions call;
    bool nlhsGiven = false;
    bool classGiven = false;
    bool bits = false;
    std::string model;
    const char* epoch = nullptr;
};

/* A class N or M can be passed as: numeric, logical or char. */
bool parseClass(const char* text, MexInt& id) {
    MexInt named = 0;
    if (!host::classNamed(text, named)) return false;
    if (named == geoharm::CELL_CLASS || named == geoharm::STRUCT_CLASS || named == geoharm::VOID_CLASS ||
        named == geoharm::FUNCTION_CLASS)
        return false;
    id = named;
    return true;
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

/* The plug-in's path and the options, in any order: an argument that
   starts with '-' is an option, followed by its value (--bits alone). */
bool parseOptions(int argc, char** argv, Options& o) {
    geoharm::CallOptions& c = o.call;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] != '-') {
            if (!o.plugin.empty() || arg.empty()) return false;
            o.plugin = arg;
            continue;
        }
        if (arg == "--bits") {
            o.bits = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        bool good;
        if (arg == "--class") {
            good = parseClass(value, c.nClass) && parseClass(value, c.mClass);
            o.classGiven = true;
        } else if (arg == "--n-class") {
            good = parseClass(value, c.nClass);
            o.classGiven = true;
        } else if (arg == "--m-class") {
            good = parseClass(value, c.mClass);
            o.classGiven = true;
        } else if (arg == "--model") {
            o.model = value;
            good = !o.model.empty();
        } else if (arg == "--epoch") {
            o.epoch = value;
            good = true;
        } else if (arg == "--nrhs") {
            good = parseCount(value, c.nrhs);
        } else if (arg == "--nlhs") {
            good = parseCount(value, c.nlhs);
            o.nlhsGiven = true;
        } else if (arg == "--position") {
            good = parseDims(value, c.positionDims);
        } else if (arg == "--fp-state") {
            good = geoharm::callerFpStateNamed(value, c.callerMxcsr);
        } else {
            good = false;
        }
        if (!good) return false;
    }
    return !o.plugin.empty() && (o.epoch == nullptr || !o.model.empty());
}

/* The plug-in geoharm_model_file beside `plugin`, with its extension. */
std::string modelFilePlugin(const std::string& plugin) {
    const std::size_t slash = plugin.find_last_of("/\\");
    const std::size_t dot = plugin.rfind('.');
    const std::string folder = slash == std::string::npos ? "" : plugin.substr(0, slash + 1);
    const std::string extension = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                      ? ""
                                      : plugin.substr(dot);
    return folder + "geoharm_model_file" + extension;
}

void usage(const char* argv0) {
    std::fprintf(stderr,
                 "usage: %s PLUGIN [--class C] [--n-class C] [--m-class C] [--nrhs K] [--nlhs K]\n"
                 "                    [--position RxC] [--fp-state S] [--bits]\n"
                 "                    [--model FILE [--epoch E]] < records\n"
                 "  (the options may also come before PLUGIN)\n"
                 "  reads lines 'x y z N M', calls PLUGIN for each through the stand-in host\n"
                 "  and writes 'a_x a_y a_z' (m/s^2) as %%.17g, or with --bits as the 16\n"
                 "  hexadecimal digits of each double's bits; N and M go in as int8 unless\n"
                 "  C (double single logical char int8 uint8 int16 uint16 int32 uint32 int64\n"
                 "  uint64) says otherwise; S (default unmasked upward downward towardzero\n"
                 "  ftz-daz) is the floating-point state the plug-in is called from; a\n"
                 "  PLUGIN named geoharm_batch.* is called once per run of records with the\n"
                 "  same N and M (no --position); geoharm_gradient.* likewise, with three\n"
                 "  outputs, writing 'U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz';\n"
                 "  --model passes these two the model of FILE first (geoharm_load's struct)\n",
                 argv0);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) {
        usage(argv[0]);
        return geoharm::STATUS_USAGE;
    }
    const geoharm::CallMode mode = geoharm::callModeOf(o.plugin);
    const bool gradient = mode == geoharm::CallMode::Gradient;
    if (gradient && !o.nlhsGiven) o.call.nlhs = 3;
    if ((mode != geoharm::CallMode::Single && o.call.positionDims != std::vector<MexSize>{3, 1}) ||
        (gradient && o.call.nlhs < 3) || (!o.model.empty() && mode == geoharm::CallMode::Single)) {
        usage(argv[0]);
        return geoharm::STATUS_USAGE;
    }
    /* The position's array as --position asks for it: one the host cannot
       allocate is a bad command line, refused before anything is read. */
    try {
        if (o.call.positionDims != std::vector<MexSize>{3, 1}) host::makePosition(0.0, 0.0, 0.0, o.call.positionDims);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "geoharm-call: the host cannot allocate the arguments (position %lldx%lld)\n",
                     static_cast<long long>(o.call.positionDims[0]), static_cast<long long>(o.call.positionDims[1]));
        return geoharm::STATUS_USAGE;
    }
    host::Plugin plugin;
    std::string why;
    if (!host::loadPlugin(o.plugin, plugin, why)) {
        std::fprintf(stderr, "geoharm-call: %s\n", why.c_str());
        return geoharm::STATUS_USAGE;
    }
    /* The model struct, made before any record is read. */
    host::Array model;
    if (!o.model.empty()) {
        host::Plugin modelFile;
        bool loaded = false;
        try {
            loaded = host::loadPlugin(modelFilePlugin(o.plugin), modelFile, why) &&
                     host::loadModelStruct(modelFile, o.model, o.epoch, model, why);
        } catch (const std::bad_alloc&) {
            why = "the host cannot create the model's arrays";
        }
        if (!loaded) {
            std::fprintf(stderr, "geoharm-call: %s\n", why.c_str());
            return geoharm::STATUS_USAGE;
        }
        o.call.model = model.handle();
        if (!o.classGiven) o.call.nClass = o.call.mClass = geoharm::DOUBLE_CLASS;
    }

    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin, geoharm::MAX_LINE_BYTES,
                                 o.model.empty() ? geoharm::LimitRange::Int8 : geoharm::LimitRange::Int);
    geoharm::ResultOutput output("geoharm-call", o.bits ? geoharm::NumberFormat::Bits : geoharm::NumberFormat::Decimal);
    geoharm::ReadStatus read = geoharm::ReadStatus::End;
    int status;
    try {
        status = geoharm::runPluginCalls(plugin, mode, o.call, reader, output, read, why);
        if (status == geoharm::STATUS_DONE) status = geoharm::readEndStatus("geoharm-call", read, reader, why);
    } catch (const std::bad_alloc&) {
        status = geoharm::outOfMemory("geoharm-call");
    }
    host::unloadPlugin(plugin);
    return output.finish(status);
}
