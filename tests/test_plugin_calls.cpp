// The built plug-in, called through the stand-in host as the host calls
// it: the worked examples, every way of passing the arguments that must
// give a known result, and every call that must end in an error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "bits.h"
#include "mex_host.h"
#include "mx_array.h"
#include "plugin_under_test.h"
#include "worked_examples.h"

namespace {

using geoharm::MexInt;
using geoharm::MexSize;
using geoharm::host::Array;
using geoharm::host::CallResult;
using geoharm::host::makeArray;
using geoharm::host::makePosition;
using geoharm::host::makeScalar;
using geoharm_test::callWith;
using geoharm_test::WORKED_EXAMPLES;

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

/* A 1x1 array of `classId` holding the bytes of `v` as its first element. */
template <typename T>
Array rawScalar(MexInt classId, T v, const std::vector<MexSize>& dims = {1, 1}) {
    Array a = makeArray(classId, dims);
    std::memcpy(a.data(), &v, sizeof v);
    return a;
}

/* The output is a 3x1 real double array holding exactly a_x, a_y, a_z. */
void expectResult(const CallResult& r, double ax, double ay, double az, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(r.ok) << r.error.identifier << ": " << r.error.message;
    ASSERT_NE(r.output.handle(), 0);
    const geoharm::host::MxArray* out = geoharm::host::arrayOf(r.output.handle(), "test");
    EXPECT_EQ(out->classId, geoharm::DOUBLE_CLASS);
    EXPECT_EQ(out->dims, (std::vector<MexSize>{3, 1}));
    EXPECT_FALSE(out->complex);
    EXPECT_EQ(r.arraysMade, 1u);
    const double* a = static_cast<const double*>(r.output.data());
    EXPECT_SAME_BITS(a[0], ax);
    EXPECT_SAME_BITS(a[1], ay);
    EXPECT_SAME_BITS(a[2], az);
}

TEST(PluginCalls, WorkedExamplesWithInt8Limits) {
    for (const auto& w : WORKED_EXAMPLES) {
        const Array pos = makePosition(w.x, w.y, w.z);
        const Array n = makeScalar(geoharm::INT8_CLASS, w.n);
        const Array m = makeScalar(geoharm::INT8_CLASS, w.m);
        expectResult(callWith({&pos, &n, &m}), w.ax, w.ay, w.az,
                     "N=" + std::to_string(w.n) + " M=" + std::to_string(w.m) + " x=" + std::to_string(w.x));
    }
}

/*
 * Arguments passed otherwise than as a 3x1 position and int8 scalars, each
 * with the worked example whose result it must give bit for bit.
 */
struct Passing {
    const char* what;
    int example;                     /* index into WORKED_EXAMPLES: position and result */
    std::function<Array()> position; /* nullptr: the example's position, 3x1 */
    std::function<Array()> n;
    std::function<Array()> m;
    MexInt nlhs;
};

/* Indices of the worked examples used below. */
constexpr int CENTRAL = 0;  /* first position, N = 0, M = 0: the central term */
constexpr int N2_M0 = 1;
constexpr int N4_M2 = 2;
constexpr int FULL = 3;     /* first position, N = M = 10 */
constexpr int N3_M2 = 5;
constexpr int N3_M1 = 9;

Array scalar(MexInt classId, double v) { return makeScalar(classId, v); }

std::function<Array()> of(MexInt classId, double v) {
    return [=] { return scalar(classId, v); };
}

const Passing PASSINGS[] = {
    {"nlhs = 0 still fills slot 0", FULL, nullptr, of(geoharm::INT8_CLASS, 10), of(geoharm::INT8_CLASS, 10), 0},
    {"nlhs = 2", FULL, nullptr, of(geoharm::INT8_CLASS, 10), of(geoharm::INT8_CLASS, 10), 2},
    {"6x1 state vector, the velocity huge", FULL,
     [] { return makePosition(7000000.0, 1000000.0, 2000000.0, {6, 1}, 1e300); }, of(geoharm::INT8_CLASS, 10),
     of(geoharm::INT8_CLASS, 10), 1},
    {"1x3 position", FULL, [] { return makePosition(7000000.0, 1000000.0, 2000000.0, {1, 3}); },
     of(geoharm::INT8_CLASS, 10), of(geoharm::INT8_CLASS, 10), 1},
    {"1x1x5 position, the rest NaN", FULL,
     [] { return makePosition(7000000.0, 1000000.0, 2000000.0, {1, 1, 5}, NaN); }, of(geoharm::INT8_CLASS, 10),
     of(geoharm::INT8_CLASS, 10), 1},
    {"int8(-1) is -1: central term", CENTRAL, nullptr, of(geoharm::INT8_CLASS, -1), of(geoharm::INT8_CLASS, 10), 1},
    {"int8(127): clamped to 10", FULL, nullptr, of(geoharm::INT8_CLASS, 127), of(geoharm::INT8_CLASS, 127), 1},
    {"int8 3 and 1", N3_M1, [] { return makePosition(488603.552, 8134012.108, -9947002.437); },
     [] { return rawScalar<std::int8_t>(geoharm::INT8_CLASS, 3); },
     [] { return rawScalar<std::int8_t>(geoharm::INT8_CLASS, 1); }, 1},
    {"complex int8 reads its real part", N4_M2, nullptr,
     [] {
         Array a = makeArray(geoharm::INT8_CLASS, {1, 1}, true);
         static_cast<std::int8_t*>(a.data())[0] = 4;
         static_cast<std::int8_t*>(geoharm::host::imagData(a.handle()))[0] = 9;
         return a;
     },
     of(geoharm::INT8_CLASS, 2), 1},
    {"double 10 is 10", FULL, nullptr, of(geoharm::DOUBLE_CLASS, 10), of(geoharm::DOUBLE_CLASS, 10), 1},
    {"single 10 is 10", FULL, nullptr, of(geoharm::SINGLE_CLASS, 10), of(geoharm::SINGLE_CLASS, 10), 1},
    {"int16(266) saturates to 127, clamped to 10", FULL, nullptr, of(geoharm::INT16_CLASS, 266),
     of(geoharm::INT16_CLASS, 266), 1},
    {"uint8(200) saturates to 127, not -56", FULL, nullptr, of(geoharm::UINT8_CLASS, 200),
     of(geoharm::UINT8_CLASS, 200), 1},
    {"int32 and uint16", N4_M2, nullptr, of(geoharm::INT32_CLASS, 4), of(geoharm::UINT16_CLASS, 2), 1},
    {"uint32 and int64", N3_M2, [] { return makePosition(4000000.0, -4000000.0, 4000000.0); },
     of(geoharm::UINT32_CLASS, 3), of(geoharm::INT64_CLASS, 2), 1},
    {"int64 and uint64 at their extremes", FULL, nullptr,
     [] { return rawScalar(geoharm::INT64_CLASS, std::numeric_limits<std::int64_t>::max()); },
     [] { return rawScalar(geoharm::UINT64_CLASS, std::numeric_limits<std::uint64_t>::max()); }, 1},
    {"int64 minimum: central term", CENTRAL, nullptr,
     [] { return rawScalar(geoharm::INT64_CLASS, std::numeric_limits<std::int64_t>::min()); },
     of(geoharm::INT8_CLASS, 10), 1},
    {"int32(-70000): central term", CENTRAL, nullptr, of(geoharm::INT32_CLASS, -70000),
     of(geoharm::INT8_CLASS, 10), 1},
    {"double 4.9 and 2.99 truncate", N4_M2, nullptr, of(geoharm::DOUBLE_CLASS, 4.9), of(geoharm::DOUBLE_CLASS, 2.99),
     1},
    {"double -0.9 truncates to 0", CENTRAL, nullptr, of(geoharm::DOUBLE_CLASS, -0.9), of(geoharm::DOUBLE_CLASS, 10),
     1},
    {"double -0.0", CENTRAL, nullptr, of(geoharm::DOUBLE_CLASS, -0.0), of(geoharm::DOUBLE_CLASS, -0.0), 1},
    {"double +inf saturates", FULL, nullptr, of(geoharm::DOUBLE_CLASS, INF), of(geoharm::DOUBLE_CLASS, INF), 1},
    {"double -inf saturates: central term", CENTRAL, nullptr, of(geoharm::DOUBLE_CLASS, -INF),
     of(geoharm::DOUBLE_CLASS, 10), 1},
    {"double 1e300", FULL, nullptr, of(geoharm::DOUBLE_CLASS, 1e300), of(geoharm::DOUBLE_CLASS, 127.5), 1},
    {"single 3.5 and 1.75", N3_M1, [] { return makePosition(488603.552, 8134012.108, -9947002.437); },
     [] { return rawScalar(geoharm::SINGLE_CLASS, 3.5f); }, [] { return rawScalar(geoharm::SINGLE_CLASS, 1.75f); },
     1},
    {"complex double reads its real part", N2_M0, nullptr,
     [] {
         Array a = makeArray(geoharm::DOUBLE_CLASS, {1, 1}, true);
         static_cast<double*>(a.data())[0] = 2;
         static_cast<double*>(geoharm::host::imagData(a.handle()))[0] = NaN;
         return a;
     },
     of(geoharm::DOUBLE_CLASS, 0), 1},
    {"logical true is 1: central term", CENTRAL, nullptr, of(geoharm::LOGICAL_CLASS, 1),
     of(geoharm::INT8_CLASS, 10), 1},
    {"logical false order", N2_M0, nullptr, of(geoharm::DOUBLE_CLASS, 2), of(geoharm::LOGICAL_CLASS, 0), 1},
};

TEST(PluginCalls, LimitsAndPositionsPassedOtherwise) {
    for (const Passing& p : PASSINGS) {
        const auto& w = WORKED_EXAMPLES[p.example];
        const Array pos = p.position ? p.position() : makePosition(w.x, w.y, w.z);
        const Array n = p.n();
        const Array m = p.m();
        expectResult(callWith({&pos, &n, &m}, p.nlhs), w.ax, w.ay, w.az, p.what);
    }
}

TEST(PluginCalls, ReadsOnlyTheBytesItIsGiven) {
    // Reads past the data show under AddressSanitizer: a position of
    // exactly three doubles and limits of exactly one element.
    const auto& w = WORKED_EXAMPLES[FULL];
    const MexInt classes[] = {geoharm::LOGICAL_CLASS, geoharm::DOUBLE_CLASS, geoharm::SINGLE_CLASS,
                              geoharm::INT8_CLASS,    geoharm::UINT8_CLASS,  geoharm::INT16_CLASS,
                              geoharm::UINT16_CLASS,  geoharm::INT32_CLASS,  geoharm::UINT32_CLASS,
                              geoharm::INT64_CLASS,   geoharm::UINT64_CLASS};
    for (MexInt c : classes) {
        const Array pos = makePosition(w.x, w.y, w.z);
        const Array n = makeScalar(c, 10);
        const Array m = makeScalar(c, 10);
        const CallResult r = callWith({&pos, &n, &m});
        if (c == geoharm::LOGICAL_CLASS) {
            const auto& central = WORKED_EXAMPLES[CENTRAL];
            expectResult(r, central.ax, central.ay, central.az, "logical");
        } else {
            expectResult(r, w.ax, w.ay, w.az, "class " + std::to_string(c));
        }
    }
}

/* A call that must be refused, with the identifier and message it ends in. */
struct Refusal {
    const char* what;
    std::function<Array()> position; /* nullptr: a good 3x1 position */
    std::function<Array()> n;        /* nullptr: int8(10) */
    std::function<Array()> m;        /* nullptr: int8(10) */
    int nrhs;                        /* above 3: empty doubles after M */
    const char* identifier;
    const char* message;
};

const char* const NRHS_TEXT = "Not enough inputs: position, N and M are needed.";
const char* const NRHS_MANY_TEXT = "Too many inputs: only position, N and M are taken.";
const char* const POSITION_TEXT =
    "Input 1 (position) must be a real, non-sparse double array of at least three elements.";
const char* const MATRIX_TEXT =
    "Input 1 (position) is a matrix: pass one point as a vector x, y, z, or many points to geoharm_batch, one per "
    "row.";
const char* const DEGREE_TEXT = "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.";
const char* const DEGREE_NAN_TEXT = "Input 2 (N, maximum degree) must not be NaN.";
const char* const ORDER_TEXT = "Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.";
const char* const ORDER_NAN_TEXT = "Input 3 (M, maximum order) must not be NaN.";
const char* const DEGREE_SCALAR_TEXT = "Input 2 (N, maximum degree) must be one number, not an array of several.";
const char* const ORDER_SCALAR_TEXT = "Input 3 (M, maximum order) must be one number, not an array of several.";

std::function<Array()> empty(MexInt classId, std::vector<MexSize> dims = {0, 0}) {
    return [=] { return makeArray(classId, dims); };
}

std::function<Array()> sparseDouble(std::vector<MexSize> dims) {
    return [=] { return makeArray(geoharm::DOUBLE_CLASS, dims, false, true); };
}

std::function<Array()> position3(MexInt classId, bool complex = false) {
    return [=] { return makeArray(classId, {3, 1}, complex); };
}

const Refusal REFUSALS[] = {
    {"no inputs", nullptr, nullptr, nullptr, 0, "geoharm:nrhs", NRHS_TEXT},
    {"position only", nullptr, nullptr, nullptr, 1, "geoharm:nrhs", NRHS_TEXT},
    {"no order", nullptr, nullptr, nullptr, 2, "geoharm:nrhs", NRHS_TEXT},
    {"no order, bad position", empty(geoharm::DOUBLE_CLASS), nullptr, nullptr, 2, "geoharm:nrhs", NRHS_TEXT},
    {"a fourth input", nullptr, nullptr, nullptr, 4, "geoharm:nrhs", NRHS_MANY_TEXT},
    {"five inputs, bad position", empty(geoharm::DOUBLE_CLASS), nullptr, nullptr, 5, "geoharm:nrhs",
     NRHS_MANY_TEXT},
    {"3x2 position: two points", [] { return makePosition(7e6, 1e6, 2e6, {3, 2}); }, nullptr, nullptr, 3,
     "geoharm:position", MATRIX_TEXT},
    {"2x3 position: two points, one per row", [] { return makePosition(7e6, 1e6, 2e6, {2, 3}); }, nullptr, nullptr, 3,
     "geoharm:position", MATRIX_TEXT},
    {"2x2 position", [] { return makePosition(7e6, 1e6, 2e6, {2, 2}); }, nullptr, nullptr, 3, "geoharm:position",
     MATRIX_TEXT},
    {"2x1x3 position", [] { return makePosition(7e6, 1e6, 2e6, {2, 1, 3}); }, nullptr, nullptr, 3,
     "geoharm:position", MATRIX_TEXT},
    {"matrix position before bad N", [] { return makePosition(7e6, 1e6, 2e6, {3, 2}); },
     empty(geoharm::DOUBLE_CLASS), nullptr, 3, "geoharm:position", MATRIX_TEXT},
    {"empty position", empty(geoharm::DOUBLE_CLASS), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"two doubles", empty(geoharm::DOUBLE_CLASS, {2, 1}), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"1x2 doubles", empty(geoharm::DOUBLE_CLASS, {1, 2}), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"single position", position3(geoharm::SINGLE_CLASS), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"int8 position", position3(geoharm::INT8_CLASS), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"char position", position3(geoharm::CHAR_CLASS), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"cell position", position3(geoharm::CELL_CLASS), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"complex position", position3(geoharm::DOUBLE_CLASS, true), nullptr, nullptr, 3, "geoharm:position",
     POSITION_TEXT},
    {"sparse position", sparseDouble({3, 1}), nullptr, nullptr, 3, "geoharm:position", POSITION_TEXT},
    {"bad position before bad N", empty(geoharm::DOUBLE_CLASS), empty(geoharm::DOUBLE_CLASS), nullptr, 3,
     "geoharm:position", POSITION_TEXT},
    {"empty double N", nullptr, empty(geoharm::DOUBLE_CLASS), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"empty int8 N", nullptr, empty(geoharm::INT8_CLASS, {1, 0}), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"char N", nullptr, of(geoharm::CHAR_CLASS, 10), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"cell N", nullptr, of(geoharm::CELL_CLASS, 0), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"struct N", nullptr, of(geoharm::STRUCT_CLASS, 0), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"function handle N", nullptr, of(geoharm::FUNCTION_CLASS, 0), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"unknown class N", nullptr, of(geoharm::UNKNOWN_CLASS, 0), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"sparse N", nullptr, sparseDouble({1, 1}), nullptr, 3, "geoharm:degree", DEGREE_TEXT},
    {"NaN N", nullptr, of(geoharm::DOUBLE_CLASS, NaN), nullptr, 3, "geoharm:degree", DEGREE_NAN_TEXT},
    {"single NaN N", nullptr, of(geoharm::SINGLE_CLASS, NaN), nullptr, 3, "geoharm:degree", DEGREE_NAN_TEXT},
    {"bad N before bad M", nullptr, of(geoharm::CHAR_CLASS, 10), of(geoharm::DOUBLE_CLASS, NaN), 3,
     "geoharm:degree", DEGREE_TEXT},
    {"empty M", nullptr, nullptr, empty(geoharm::DOUBLE_CLASS), 3, "geoharm:order", ORDER_TEXT},
    {"char M", nullptr, nullptr, of(geoharm::CHAR_CLASS, 10), 3, "geoharm:order", ORDER_TEXT},
    {"sparse logical M", nullptr, nullptr,
     [] { return makeArray(geoharm::LOGICAL_CLASS, {1, 1}, false, true); }, 3, "geoharm:order", ORDER_TEXT},
    {"NaN M", nullptr, nullptr, of(geoharm::DOUBLE_CLASS, NaN), 3, "geoharm:order", ORDER_NAN_TEXT},
    {"double 2x2 N: its first element used to be read", nullptr,
     [] { return rawScalar(geoharm::DOUBLE_CLASS, 4.0, {2, 2}); }, nullptr, 3, "geoharm:degree", DEGREE_SCALAR_TEXT},
    {"int8 1x2 M", nullptr, nullptr, [] { return rawScalar<std::int8_t>(geoharm::INT8_CLASS, 3, {1, 2}); }, 3,
     "geoharm:order", ORDER_SCALAR_TEXT},
};

TEST(PluginCalls, BadCallsEndInTheirErrorAndLeaveNothing) {
    const long before = geoharm::host::liveArrays();
    for (const Refusal& c : REFUSALS) {
        SCOPED_TRACE(c.what);
        {
            const Array pos = c.position ? c.position() : makePosition(7000000.0, 1000000.0, 2000000.0);
            const Array n = c.n ? c.n() : makeScalar(geoharm::INT8_CLASS, 10);
            const Array m = c.m ? c.m() : makeScalar(geoharm::INT8_CLASS, 10);
            const Array extra = makeArray(geoharm::DOUBLE_CLASS, {0, 0});
            std::vector<const Array*> args{&pos, &n, &m, &extra, &extra};
            args.resize(static_cast<std::size_t>(c.nrhs));
            const CallResult r = callWith(args);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.error.identifier, c.identifier);
            EXPECT_EQ(r.error.message, c.message);
            // Refused before the output array exists.
            EXPECT_EQ(r.arraysMade, 0u);
            EXPECT_EQ(r.output.handle(), 0);
        }
        EXPECT_EQ(geoharm::host::liveArrays(), before);
    }
}

TEST(PluginCalls, GoodCallAfterBadCallsIsUnchanged) {
    // Nothing of a refused call (its unwinding included) reaches the next one.
    const auto& w = WORKED_EXAMPLES[N4_M2];
    const Array pos = makePosition(w.x, w.y, w.z);
    const Array n = makeScalar(geoharm::INT8_CLASS, w.n);
    const Array nan = makeScalar(geoharm::DOUBLE_CLASS, NaN);
    const Array m = makeScalar(geoharm::INT8_CLASS, w.m);
    for (int i = 0; i < 3; i++) {
        EXPECT_FALSE(callWith({&pos, &n, &nan}).ok);
        EXPECT_FALSE(callWith({&pos, &n}).ok);
        expectResult(callWith({&pos, &n, &m}), w.ax, w.ay, w.az, "after refusals");
    }
}

/* Runs one call with the thread's host-call trace on. */
std::vector<geoharm::host::HostCall> traceOf(const std::vector<const Array*>& args, CallResult& result) {
    std::vector<geoharm::host::HostCall> trace;
    geoharm::host::traceHostCalls(&trace);
    result = callWith(args);
    geoharm::host::traceHostCalls(nullptr);
    return trace;
}

std::string describe(const std::vector<geoharm::host::HostCall>& calls) {
    std::string text;
    for (const auto& c : calls) {
        text += "  " + c.routine;
        for (long long v : c.values) text += " " + std::to_string(v);
        text += "\n";
    }
    return text;
}

long long address(const void* p) { return static_cast<long long>(reinterpret_cast<std::intptr_t>(p)); }

TEST(PluginCalls, ValidCallTalksToTheHostInTheDescribedOrder) {
    // Before the output exists: only queries about the inputs (class,
    // complexity, storage, size, shape, and the data address for a value
    // read).
    // From the output on: create and store; real-data addresses of inputs
    // 0, 1, 2 and the output; position in; int8 limits in; result out.
    const auto& w = WORKED_EXAMPLES[N4_M2];
    struct Case {
        const char* what;
        MexInt nClass, mClass;
    };
    const Case cases[] = {{"int8, int8", geoharm::INT8_CLASS, geoharm::INT8_CLASS},
                          {"double, int8", geoharm::DOUBLE_CLASS, geoharm::INT8_CLASS},
                          {"int8, uint16", geoharm::INT8_CLASS, geoharm::UINT16_CLASS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Array pos = makePosition(w.x, w.y, w.z);
        const Array n = makeScalar(c.nClass, w.n);
        const Array m = makeScalar(c.mClass, w.m);
        CallResult r;
        const auto trace = traceOf({&pos, &n, &m}, r);
        expectResult(r, w.ax, w.ay, w.az, c.what);
        const long long out = r.output.handle();

        std::size_t create = 0;
        while (create < trace.size() && trace[create].routine != "mxcreatedoublematrix700_") create++;
        ASSERT_LT(create, trace.size()) << describe(trace);
        bool readValueOfN = false, readValueOfM = false;
        for (std::size_t i = 0; i < create; i++) {
            const auto& q = trace[i];
            const bool query = q.routine == "mxgetclassid_" || q.routine == "mxiscomplex_" ||
                               q.routine == "mxissparse_" || q.routine == "mxgetnumberofelements_" ||
                               q.routine == "mxgetm_" || q.routine == "mxgetn_" || q.routine == "mxgetdata_";
            EXPECT_TRUE(query) << q.routine << " before the output exists:\n" << describe(trace);
            readValueOfN = readValueOfN || (q.routine == "mxgetdata_" && q.values[0] == n.handle());
            readValueOfM = readValueOfM || (q.routine == "mxgetdata_" && q.values[0] == m.handle());
        }
        EXPECT_EQ(readValueOfN, c.nClass != geoharm::INT8_CLASS);
        EXPECT_EQ(readValueOfM, c.mClass != geoharm::INT8_CLASS);

        using geoharm::host::HostCall;
        std::vector<HostCall> steps{
            {"mxcreatedoublematrix700_", {3, 1, 0}},
            {"mxgetpr_", {pos.handle()}},
            {"mxgetpr_", {n.handle()}},
            {"mxgetpr_", {m.handle()}},
            {"mxgetpr_", {out}},
            {"mxcopyptrtoreal8700_", {address(pos.data()), 3}},
        };
        if (c.nClass == geoharm::INT8_CLASS) steps.push_back({"mxcopyptrtointeger1700_", {address(n.data()), 1}});
        if (c.mClass == geoharm::INT8_CLASS) steps.push_back({"mxcopyptrtointeger1700_", {address(m.data()), 1}});
        steps.push_back({"mxcopyreal8toptr700_", {address(r.output.data()), 3}});
        const std::vector<HostCall> after(trace.begin() + static_cast<std::ptrdiff_t>(create), trace.end());
        EXPECT_TRUE(after == steps) << "got:\n" << describe(after) << "expected:\n" << describe(steps);
    }
}

TEST(PluginCalls, RefusedCallEndsInTheErrorRoutineAlone) {
    // The error routine is the last thing called, with the texts' lengths,
    // and nothing is created or copied before it.
    const Array pos = makePosition(7000000.0, 1000000.0, 2000000.0);
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    const Array nan = makeScalar(geoharm::DOUBLE_CLASS, NaN);
    struct Case {
        const char* what;
        std::vector<const Array*> args;
        const char* identifier;
        const char* message;
    };
    const Case cases[] = {{"two inputs", {&pos, &n}, "geoharm:nrhs", NRHS_TEXT},
                          {"NaN order", {&pos, &n, &nan}, "geoharm:order", ORDER_NAN_TEXT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CallResult r;
        const auto trace = traceOf(c.args, r);
        ASSERT_FALSE(trace.empty());
        const geoharm::host::HostCall last{
            "mexerrmsgidandtxt_",
            {static_cast<long long>(std::strlen(c.identifier)), static_cast<long long>(std::strlen(c.message))}};
        EXPECT_TRUE(trace.back() == last) << describe(trace);
        for (std::size_t i = 0; i + 1 < trace.size(); i++) {
            EXPECT_EQ(trace[i].routine.rfind("mxcopy", 0), std::string::npos) << describe(trace);
            EXPECT_NE(trace[i].routine, "mxcreatedoublematrix700_") << describe(trace);
        }
    }
}

}  // namespace
