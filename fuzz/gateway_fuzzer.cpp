/*
 * gateway_fuzzer.cpp - libFuzzer target: the built plug-ins (geoharm,
 * geoharm_batch, geoharm_gradient and geoharm_model_tables), called
 * through the stand-in host with the calls the fuzzer's bytes describe
 * (fuzz_call.h), every one checked against what it must give
 * (expected_outcome.h).
 *
 * Per call:
 *   - the output and input slot tables are heap blocks of exactly the
 *     slots the host passes (max(nlhs, 1) outputs, nrhs inputs), so a
 *     read or write past them shows under AddressSanitizer;
 *   - a refused call ends in the expected identifier and message, made no
 *     array and left every output slot 0;
 *   - a good call of geoharm made exactly one array, in slot 0 (other
 *     slots 0), a 3x1 real, non-sparse double array whose three doubles
 *     have the bits of a direct evaluateAcceleration of the expected
 *     FieldInput (a NaN is the default NaN); one of geoharm_batch made a
 *     K-by-3 array (three K-by-1 arrays for three outputs) whose row k has
 *     the bits of a direct evaluation of row k of P; one of
 *     geoharm_gradient made T, a 3x3xK array (3x3 for K = 1), exactly
 *     symmetric, then A (K-by-3) and U (K-by-1) as asked, point k the bits
 *     of a direct evaluateGradient of row k of P, and A the bits
 *     geoharm_batch gave for the same call; one of
 *     geoharm_model_tables made its outputs asked for (one at least), each
 *     with the shape and bits of geoharm::model()'s number;
 *   - with the call's k-th array made to fail (the host out of memory), a
 *     call that makes k arrays or more ends in the host's error
 *     (host:nomem, raised by the host) having kept none of them, and any
 *     other call is as without the failure;
 *   - the inputs' data is unchanged, the caller's MXCSR is as before the
 *     call, and after the arrays are freed no host array is left alive.
 * A failed check prints what differed and aborts: libFuzzer keeps the
 * input as a crash.  At exit the counts are printed.
 */
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <xmmintrin.h>

#include <geoharm/geoharm.h>
#include <geoharm/version.h>

#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"
#include "expected_outcome.h"
#include "fuzz_call.h"
#include "mx_array.h"
#include "plugin_host.h"

namespace {

namespace host = geoharm::host;
using geoharm::MexPointer;
using geoharm_fuzz::FuzzArray;
using geoharm_fuzz::FuzzCall;

host::Plugin plugin;
host::Plugin batchPlugin;
host::Plugin gradientPlugin;
host::Plugin modelPlugin;

struct Counts {
    unsigned long long calls = 0, errors = 0, results = 0, nanResults = 0, noMemory = 0;
    unsigned long long againstBatch = 0; /* geoharm_gradient: rows of A held to geoharm_batch's */
} counts, batchCounts, gradientCounts, modelCounts;

/* The K-by-3 result geoharm_batch gave for this input (column by column),
   when one of its calls returned. */
std::vector<double> batchResult;
bool batchReturned = false;

void printCounts() {
    std::printf("fuzz: %llu calls, %llu errors raised, %llu results checked (%llu with a NaN component), %llu "
                "outputs the host could not create\n",
                counts.calls, counts.errors, counts.results, counts.nanResults, counts.noMemory);
    std::printf("fuzz: geoharm_batch: %llu calls, %llu errors raised, %llu rows checked (%llu with a NaN component), "
                "%llu outputs the host could not create\n",
                batchCounts.calls, batchCounts.errors, batchCounts.results, batchCounts.nanResults,
                batchCounts.noMemory);
    std::printf("fuzz: geoharm_gradient: %llu calls, %llu errors raised, %llu rows checked (%llu with a NaN "
                "component, %llu with A held to geoharm_batch's), %llu outputs the host could not create\n",
                gradientCounts.calls, gradientCounts.errors, gradientCounts.results, gradientCounts.nanResults,
                gradientCounts.againstBatch, gradientCounts.noMemory);
    std::printf("fuzz: geoharm_model_tables: %llu calls, %llu errors raised, %llu outputs checked, %llu outputs the "
                "host could not create\n",
                modelCounts.calls, modelCounts.errors, modelCounts.results, modelCounts.noMemory);
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "gateway fuzzer: %s\n", what.c_str());
    std::abort();
}

void check(bool good, const std::string& what) {
    if (!good) fail(what);
}

std::uint64_t bitsOf(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

/* The same bits, a NaN the default NaN too. */
bool sameResult(double got, double want) {
    return bitsOf(got) == bitsOf(want) && (!std::isnan(got) || bitsOf(got) == 0x7FF8000000000000u);
}

/* The host array a description stands for (elements past the filled ones
   are zero). */
MexPointer makeInput(const FuzzArray& a) {
    const MexPointer h = host::createArray(a.classId, a.dims, a.complex, a.sparse);
    if (!a.real.empty()) std::memcpy(host::realData(h), a.real.data(), a.real.size());
    if (!a.imag.empty()) std::memcpy(host::imagData(h), a.imag.data(), a.imag.size());
    return h;
}

/* Bytes of an array's real and imaginary data, to see that they stay. */
std::vector<std::uint8_t> contentOf(MexPointer h) {
    const host::MxArray* a = host::arrayOf(h, "fuzzer");
    const std::size_t n = static_cast<std::size_t>(a->count) * host::elementSize(a->classId);
    std::vector<std::uint8_t> out;
    if (a->real != nullptr) out.insert(out.end(), static_cast<std::uint8_t*>(a->real), static_cast<std::uint8_t*>(a->real) + n);
    if (a->imag != nullptr) out.insert(out.end(), static_cast<std::uint8_t*>(a->imag), static_cast<std::uint8_t*>(a->imag) + n);
    return out;
}

/* A double a plug-in gave for `in` against the one `source` gave: the
   same bits (sameResult); whether it is a NaN. */
bool checkDouble(double got, double want, const char* what, int index, const char* source,
                 const geoharm::FieldInput& in) {
    if (!sameResult(got, want)) {
        char text[240];
        std::snprintf(text, sizeof text, "%s %d: plug-in %a, %s %a (x %a y %a z %a N %d M %d)", what, index, got,
                      source, want, in.x, in.y, in.z, in.n, in.m);
        fail(text);
    }
    return std::isnan(got);
}

/* The components a plug-in gave for `in` against a direct evaluation. */
void checkComponents(const double got[3], const geoharm::FieldInput& in, Counts& c) {
    double direct[3];
    geoharm::evaluateAcceleration(in, direct);
    bool anyNaN = false;
    for (int i = 0; i < 3; i++) anyNaN = checkDouble(got[i], direct[i], "component", i, "direct", in) || anyNaN;
    c.results++;
    if (anyNaN) c.nanResults++;
}

/* Output slot i is a real, non-sparse double array of these dimensions
   (with data unless it is empty). */
const double* outputData(const MexPointer* plhs, std::size_t i, const std::vector<geoharm::MexSize>& dims) {
    const host::MxArray* out = host::arrayOf(plhs[i], "fuzzer");
    const std::string which = "output " + std::to_string(i);
    check(out->classId == geoharm::DOUBLE_CLASS, which + " is not double");
    check(out->dims == dims, which + " has other dimensions");
    check(!out->complex && !out->sparse && (out->count == 0 || out->real != nullptr),
          which + " is complex, sparse or has no data");
    return static_cast<const double*>(out->real);
}

/* geoharm: one 3x1 array in slot 0, the bits of a direct evaluation. */
void checkResult(const geoharm_fuzz::ExpectedOutcome& want, const MexPointer* plhs, std::size_t slots,
                 std::size_t made) {
    check(made == 1, "a good call made " + std::to_string(made) + " arrays");
    for (std::size_t i = 1; i < slots; i++) check(plhs[i] == 0, "output slot " + std::to_string(i) + " was written");
    checkComponents(outputData(plhs, 0, {3, 1}), want.input, counts);
}

/* geoharm_batch: a K-by-3 array, or three K-by-1 arrays, row k the bits
   of a direct evaluation of row k of P; kept in batchResult. */
void checkBatchResult(const geoharm_fuzz::ExpectedOutcome& want, const MexPointer* plhs, std::size_t slots,
                      std::size_t made) {
    const std::size_t outputs = slots == 3 ? 3 : 1;
    check(made == outputs, "a good call made " + std::to_string(made) + " arrays");
    for (std::size_t i = outputs; i < slots; i++) check(plhs[i] == 0, "output slot " + std::to_string(i) + " was written");
    const geoharm::MexSize k = static_cast<geoharm::MexSize>(want.rows.size());
    const double* column[3];
    for (std::size_t c = 0; c < 3; c++) {
        column[c] = outputs == 3 ? outputData(plhs, c, {k, 1}) : outputData(plhs, 0, {k, 3}) + c * want.rows.size();
    }
    batchResult.assign(3 * want.rows.size(), 0.0);
    for (std::size_t r = 0; r < want.rows.size(); r++) {
        const double got[3] = {column[0][r], column[1][r], column[2][r]};
        checkComponents(got, want.rows[r], batchCounts);
        for (std::size_t c = 0; c < 3; c++) batchResult[c * want.rows.size() + r] = got[c];
    }
    batchReturned = true;
}

/* geoharm_gradient: T, a 3x3xK array (3x3 for K = 1), then A (K-by-3) and
   U (K-by-1) as asked.  Each tensor exactly symmetric; point k the bits of
   a direct evaluateGradient of row k of P; A the bits of geoharm_batch's
   result for the same call, when one of its calls returned. */
void checkGradientResult(const geoharm_fuzz::ExpectedOutcome& want, const MexPointer* plhs, std::size_t slots,
                         std::size_t made) {
    check(made == slots, "a good call made " + std::to_string(made) + " arrays");
    const std::size_t k = want.rows.size();
    const geoharm::MexSize rows = static_cast<geoharm::MexSize>(k);
    using Dims = std::vector<geoharm::MexSize>;
    const double* t = outputData(plhs, 0, k == 1 ? Dims{3, 3} : Dims{3, 3, rows});
    const double* a = slots >= 2 ? outputData(plhs, 1, {rows, 3}) : nullptr;
    const double* u = slots >= 3 ? outputData(plhs, 2, {rows, 1}) : nullptr;
    const bool againstBatch = a != nullptr && batchReturned;
    if (againstBatch) check(batchResult.size() == 3 * k, "geoharm_batch gave another number of rows");
    for (std::size_t r = 0; r < k; r++) {
        const geoharm::FieldInput& in = want.rows[r];
        double directT[9], directA[3], directU;
        geoharm::evaluateGradient(in, directT, directA, &directU);
        const double* tensor = t + 9 * r;
        bool anyNaN = false;
        for (int i = 0; i < 9; i++) {
            anyNaN = checkDouble(tensor[i], directT[i], "tensor entry", i, "direct", in) || anyNaN;
            checkDouble(tensor[i], tensor[3 * (i % 3) + i / 3], "tensor entry", i, "its mirror", in);
        }
        for (int c = 0; a != nullptr && c < 3; c++) {
            const double got = a[static_cast<std::size_t>(c) * k + r];
            anyNaN = checkDouble(got, directA[c], "acceleration component", c, "direct", in) || anyNaN;
            if (againstBatch)
                checkDouble(got, batchResult[static_cast<std::size_t>(c) * k + r], "acceleration component", c,
                            "geoharm_batch", in);
        }
        if (u != nullptr) anyNaN = checkDouble(u[r], directU, "potential", 0, "direct", in) || anyNaN;
        gradientCounts.results++;
        if (anyNaN) gradientCounts.nanResults++;
        if (againstBatch) gradientCounts.againstBatch++;
    }
}

/* geoharm_model_tables: the outputs asked for (slot 0 at least), each
   geoharm::model()'s number in its shape, the tables by column. */
void checkModelResult(const geoharm_fuzz::ExpectedOutcome&, const MexPointer* plhs, std::size_t slots,
                      std::size_t made) {
    check(made == slots, "a good call made " + std::to_string(made) + " arrays");
    const geoharm::Model md = geoharm::model();
    constexpr int side = geoharm::MAX_DEGREE + 1;
    std::vector<double> C, S;
    for (int m = 0; m < side; m++)
        for (int n = 0; n < side; n++) C.push_back(md.C[n][m]), S.push_back(md.S[n][m]);
    const std::vector<double> scalars[3] = {{md.gm}, {md.referenceRadius}, {static_cast<double>(md.maxDegree)}};
    const std::vector<double> version{GEOHARM_VERSION_MAJOR, GEOHARM_VERSION_MINOR, GEOHARM_VERSION_PATCH};
    for (std::size_t k = 0; k < slots; k++) {
        const std::vector<double>& want = k < 3 ? scalars[k] : k == 3 ? C : k == 4 ? S : version;
        const geoharm::MexSize rows = k == 3 || k == 4 ? side : 1;
        const double* got = outputData(plhs, k, {rows, static_cast<geoharm::MexSize>(want.size()) / rows});
        check(std::memcmp(got, want.data(), want.size() * sizeof(double)) == 0,
              "output " + std::to_string(k) + " is not the model's");
        modelCounts.results++;
    }
}

using ResultCheck = void (*)(const geoharm_fuzz::ExpectedOutcome&, const MexPointer*, std::size_t, std::size_t);

/*
 * One call of `entry` with the described inputs and nlhs outputs, the
 * call.failing-th array it asks for made to fail: a refusal as expected,
 * having made nothing; the host's error when a good call asks for that
 * many arrays (it makes `outputs`), having kept nothing; or a result
 * `checkGood` accepts.  The inputs unchanged, the MXCSR as before and no
 * host array left afterwards.
 */
void runCall(host::EntryPoint entry, const FuzzCall& call, int nlhs, const geoharm_fuzz::ExpectedOutcome& want,
             std::size_t outputs, ResultCheck checkGood, Counts& c) {
    const long aliveBefore = host::liveArrays();

    /* Slot tables of exactly the host's sizes, on the heap. */
    const std::size_t slots = nlhs > 1 ? static_cast<std::size_t>(nlhs) : 1;
    auto* plhs = static_cast<MexPointer*>(std::calloc(slots, sizeof(MexPointer)));
    MexPointer* prhs = nullptr;
    std::vector<std::vector<std::uint8_t>> before;
    if (call.nrhs > 0) {
        prhs = static_cast<MexPointer*>(std::malloc(static_cast<std::size_t>(call.nrhs) * sizeof(MexPointer)));
        for (int i = 0; i < call.nrhs; i++) {
            prhs[i] = makeInput(call.inputs[static_cast<std::size_t>(i)]);
            before.push_back(contentOf(prhs[i]));
        }
    }

    host::HostError error;
    std::size_t made = 0;
    const unsigned int mxcsr = _mm_getcsr();
    host::failArrayCreation(call.failing);
    const bool ok = host::callEntryPoint(entry, nlhs, plhs, call.nrhs, prhs, error, made);
    host::failArrayCreation(0);
    check(_mm_getcsr() == mxcsr, "the call left MXCSR changed");
    c.calls++;

    if (want.valid && call.failing >= 1 && static_cast<std::size_t>(call.failing) <= outputs) {
        check(!ok, "a call whose output the host cannot create returned");
        check(error.raisedByHost && error.identifier == host::HOST_NOMEM_ID &&
                  error.message.rfind("Out of memory: cannot create a ", 0) == 0,
              "the host's shortage ended in " + error.identifier + ": " + error.message);
        check(made == static_cast<std::size_t>(call.failing) - 1,
              "the call made " + std::to_string(made) + " arrays before the failing one");
        for (std::size_t i = 0; i < slots; i++) check(plhs[i] == 0, "a call the host ended left an output");
        c.noMemory++;
    } else if (want.valid) {
        check(ok, "a good call ended in " + error.identifier + ": " + error.message);
        checkGood(want, plhs, slots, made);
    } else {
        check(!ok, "a bad call returned; expected " + want.identifier);
        check(error.identifier == want.identifier && error.message == want.message,
              "error " + error.identifier + ": " + error.message + "; expected " + want.identifier + ": " +
                  want.message);
        check(made == 0, "a refused call made " + std::to_string(made) + " arrays");
        for (std::size_t i = 0; i < slots; i++) check(plhs[i] == 0, "a refused call left an output");
        c.errors++;
    }

    for (int i = 0; i < call.nrhs; i++)
        check(contentOf(prhs[i]) == before[static_cast<std::size_t>(i)], "input " + std::to_string(i) + " changed");
    for (std::size_t i = 0; i < slots; i++) host::destroyArray(plhs[i]);
    for (int i = 0; i < call.nrhs; i++) host::destroyArray(prhs[i]);
    check(host::liveArrays() == aliveBefore, "host arrays left alive after the call");
    std::free(plhs);
    std::free(prhs);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string why;
    if (!host::loadPlugin(GEOHARM_PLUGIN, plugin, why)) fail("cannot load " GEOHARM_PLUGIN ": " + why);
    if (!host::loadPlugin(GEOHARM_BATCH_PLUGIN, batchPlugin, why)) fail("cannot load " GEOHARM_BATCH_PLUGIN ": " + why);
    if (!host::loadPlugin(GEOHARM_GRADIENT_PLUGIN, gradientPlugin, why))
        fail("cannot load " GEOHARM_GRADIENT_PLUGIN ": " + why);
    if (!host::loadPlugin(GEOHARM_MODEL_PLUGIN, modelPlugin, why)) fail("cannot load " GEOHARM_MODEL_PLUGIN ": " + why);
    std::atexit(printCounts);
    return 0;
}

/* Every input drives geoharm with its own count of outputs,
   geoharm_batch with it and with three outputs, then geoharm_gradient
   with its own count (its A held to geoharm_batch's result), and
   geoharm_model_tables with geoharm's count. */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzCall call = geoharm_fuzz::decodeCall(data, size);
    runCall(plugin.entry, call, call.nlhs, geoharm_fuzz::expectedOutcome(call), 1, checkResult, counts);
    batchReturned = false;
    for (int nlhs : {call.nlhs, 3}) {
        runCall(batchPlugin.entry, call, nlhs, geoharm_fuzz::expectedBatchOutcome(call, nlhs), nlhs == 3 ? 3 : 1,
                checkBatchResult, batchCounts);
    }
    const int gradientNlhs = call.gradientNlhs;
    runCall(gradientPlugin.entry, call, gradientNlhs, geoharm_fuzz::expectedGradientOutcome(call, gradientNlhs),
            gradientNlhs > 1 ? static_cast<std::size_t>(gradientNlhs) : 1, checkGradientResult, gradientCounts);
    runCall(modelPlugin.entry, call, call.nlhs, geoharm_fuzz::expectedModelOutcome(call, call.nlhs),
            call.nlhs > 1 ? static_cast<std::size_t>(call.nlhs) : 1, checkModelResult, modelCounts);
    /* Nothing held past the input: libFuzzer reads more allocations than
       frees as a possible leak and runs the input again to look for it. */
    std::vector<double>().swap(batchResult);
    return 0;
}
