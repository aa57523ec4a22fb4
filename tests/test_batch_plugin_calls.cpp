// The built geoharm_batch plug-in through the stand-in host: every row is
// what geoharm gives for that point (both plug-ins loaded in this process),
// in both output forms; N and M read as geoharm reads them; every refusal
// with its identifier and message, before anything exists; the host calls
// of a valid call; the caller's floating-point state.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bits.h"
#include "many_point_plugin.h"
#include "mx_array.h"
#include "plugin_under_test.h"
#include "worked_examples.h"

namespace {

using geoharm::MexInt;
using geoharm::MexPointer;
using geoharm::MexSize;
using geoharm::host::Array;
using geoharm::host::makeArray;
using geoharm::host::makeScalar;
using geoharm_test::WORKED_EXAMPLES;

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

const geoharm::host::Plugin& batchPlugin() {
    static const geoharm::host::Plugin plugin = geoharm_test::loadedPlugin(GEOHARM_BATCH_PLUGIN);
    return plugin;
}

using BatchResult = geoharm_test::PluginOutcome;
using geoharm_test::positionsArray;

BatchResult callBatch(const std::vector<const Array*>& args, MexInt nlhs = 1) {
    return geoharm_test::callKeepingOutputs(batchPlugin(), args, nlhs);
}

/* The geoharm plug-in's answer at one point with the same N and M arrays. */
std::vector<double> geoharmAt(const std::vector<double>& p, const Array& n, const Array& m) {
    const Array pos = geoharm::host::makePosition(p[0], p[1], p[2]);
    const geoharm::host::CallResult r = geoharm_test::callWith({&pos, &n, &m});
    EXPECT_TRUE(r.ok) << r.error.identifier;
    if (!r.ok) return {NaN, NaN, NaN};
    const double* a = static_cast<const double*>(r.output.data());
    return {a[0], a[1], a[2]};
}

/*
 * The batch call on `points` with N and M, in each output form, against
 * geoharm row by row: output shapes, arrays made, inputs left unchanged.
 */
void expectRowsAsGeoharm(const std::vector<std::vector<double>>& points, const Array& n, const Array& m,
                         const std::string& what) {
    const std::size_t k = points.size();
    std::vector<std::vector<double>> want;
    for (const auto& p : points) want.push_back(geoharmAt(p, n, m));
    for (MexInt nlhs : {0, 1, 3}) {
        SCOPED_TRACE(what + ", nlhs " + std::to_string(nlhs));
        const Array pos = positionsArray(points);
        const BatchResult r = callBatch({&pos, &n, &m}, nlhs);
        ASSERT_TRUE(r.ok) << r.error.identifier << ": " << r.error.message;
        const std::size_t outputs = nlhs == 3 ? 3 : 1;
        ASSERT_EQ(r.arraysMade, outputs);
        const double* column[3];
        for (std::size_t c = 0; c < 3; c++) {
            const Array& out = r.outputs[nlhs == 3 ? c : 0];
            const geoharm::host::MxArray* a = geoharm::host::arrayOf(out.handle(), "test");
            EXPECT_EQ(a->classId, geoharm::DOUBLE_CLASS);
            EXPECT_FALSE(a->complex || a->sparse);
            EXPECT_EQ(a->dims, (std::vector<MexSize>{static_cast<MexSize>(k), nlhs == 3 ? 1 : 3}));
            column[c] = static_cast<const double*>(out.data()) + (nlhs == 3 ? 0 : c * k);
        }
        for (std::size_t i = 0; i < k; i++) {
            for (std::size_t c = 0; c < 3; c++) EXPECT_SAME_BITS(column[c][i], want[i][c]) << "row " << i;
            for (std::size_t c = 0; c < 3; c++)
                EXPECT_SAME_BITS(static_cast<const double*>(pos.data())[c * k + i], points[i][c]) << "input changed";
        }
    }
}

/* The worked examples' positions and points at the edges of the evaluation. */
std::vector<std::vector<double>> manyPoints() {
    std::vector<std::vector<double>> points;
    for (const auto& w : WORKED_EXAMPLES) points.push_back({w.x, w.y, w.z});
    const std::vector<std::vector<double>> edges{{0.0, 0.0, 0.0},     {-0.0, 0.0, 6600000.0}, {INF, 0.0, 7e6},
                                                 {NaN, 1.0, 1.0},     {1e200, 1e200, 1e200},  {4.9e-324, 7e6, -0.0},
                                                 {1e-19, 0.0, 0.0},   {6378137.0, 0.0, 0.0}};
    points.insert(points.end(), edges.begin(), edges.end());
    return points;
}

TEST(BatchPlugin, EveryRowIsGeoharmAtThatPointInBothForms) {
    for (int limits : {-1, 0, 2, 3, 4, 10, 11, 127}) {
        const Array n = makeScalar(geoharm::INT8_CLASS, limits);
        const Array m = makeScalar(geoharm::INT8_CLASS, limits == 3 ? 1 : limits);
        expectRowsAsGeoharm(manyPoints(), n, m, "N = " + std::to_string(limits));
    }
    // And the published values themselves, one call per example.
    for (const auto& w : WORKED_EXAMPLES) {
        const Array pos = positionsArray({{w.x, w.y, w.z}});
        const Array n = makeScalar(geoharm::INT8_CLASS, w.n);
        const Array m = makeScalar(geoharm::INT8_CLASS, w.m);
        const BatchResult r = callBatch({&pos, &n, &m});
        ASSERT_TRUE(r.ok);
        const double* a = static_cast<const double*>(r.outputs[0].data());
        EXPECT_SAME_BITS(a[0], w.ax);
        EXPECT_SAME_BITS(a[1], w.ay);
        EXPECT_SAME_BITS(a[2], w.az);
    }
}

TEST(BatchPlugin, ReadsNAndMAsGeoharmDoes) {
    // Each pair of arrays goes to both plug-ins.
    struct Limits {
        const char* what;
        std::function<Array()> n, m;
    };
    const auto of = [](MexInt c, double v) { return [=] { return makeScalar(c, v); }; };
    const Limits cases[] = {
        {"double 10", of(geoharm::DOUBLE_CLASS, 10), of(geoharm::DOUBLE_CLASS, 10)},
        {"single 3.5, double 1.99", of(geoharm::SINGLE_CLASS, 3.5), of(geoharm::DOUBLE_CLASS, 1.99)},
        {"uint8 200, int16 266", of(geoharm::UINT8_CLASS, 200), of(geoharm::INT16_CLASS, 266)},
        {"int16 -3, int32 -70000", of(geoharm::INT16_CLASS, -3), of(geoharm::INT32_CLASS, -70000)},
        {"-inf, +inf", of(geoharm::DOUBLE_CLASS, -INF), of(geoharm::DOUBLE_CLASS, INF)},
        {"logical, uint64", of(geoharm::LOGICAL_CLASS, 1), of(geoharm::UINT64_CLASS, 4)},
        {"int8 by its byte", of(geoharm::INT8_CLASS, 4), of(geoharm::INT8_CLASS, 2)},
        {"int64, uint32", of(geoharm::INT64_CLASS, 5), of(geoharm::UINT32_CLASS, 3)},
    };
    const std::vector<std::vector<double>> points{{7000000.0, 1000000.0, 2000000.0}, {488603.552, 8134012.108, -9947002.437}};
    for (const Limits& c : cases) {
        const Array n = c.n();
        const Array m = c.m();
        expectRowsAsGeoharm(points, n, m, c.what);
    }
}

TEST(BatchPlugin, OnePointAsAColumnAsGeoharmTakesIt) {
    // A 3-by-1 position, as geoharm takes one point, is that point: one row.
    const Array n = makeScalar(geoharm::DOUBLE_CLASS, 10);
    const auto& w = WORKED_EXAMPLES[0];
    const Array pos = geoharm::host::makePosition(w.x, w.y, w.z);
    const BatchResult r = callBatch({&pos, &n, &n});
    ASSERT_TRUE(r.ok) << r.error.message;
    EXPECT_EQ(geoharm::host::arrayOf(r.outputs[0].handle(), "test")->dims, (std::vector<MexSize>{1, 3}));
    const std::vector<double> want = geoharmAt({w.x, w.y, w.z}, n, n);
    const double* a = static_cast<const double*>(r.outputs[0].data());
    for (int i = 0; i < 3; i++) EXPECT_SAME_BITS(a[i], want[static_cast<std::size_t>(i)]);
}

TEST(BatchPlugin, NoPointsGiveEmptyOutputs) {
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    for (MexInt nlhs : {1, 3}) {
        const Array pos = makeArray(geoharm::DOUBLE_CLASS, {0, 3});
        const BatchResult r = callBatch({&pos, &n, &n}, nlhs);
        ASSERT_TRUE(r.ok) << r.error.message;
        for (const Array& out : r.outputs)
            EXPECT_EQ(geoharm::host::arrayOf(out.handle(), "test")->dims,
                      (std::vector<MexSize>{0, nlhs == 3 ? 1 : 3}));
    }
}

using geoharm_test::Refusal;

const char* const NRHS = "Not enough inputs: positions, N and M are needed.";
const char* const NRHS_MANY = "Too many inputs: only positions, N and M are taken.";
const char* const NLHS = "Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).";
const char* const CLASS = "Input 1 (positions) must be a real, non-sparse double array.";
const char* const SHAPE = "Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.";
const char* const TRANSPOSED =
    "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array with columns x, y, z.";
const char* const ROWS =
    "Input 1 (positions) has too many rows: one call takes at most 715827882 points, so that its 3*K elements fit "
    "the host's 32-bit sizes.";
const char* const DEGREE = "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.";
const char* const DEGREE_NAN = "Input 2 (N, maximum degree) must not be NaN.";
const char* const ORDER = "Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.";
const char* const ORDER_NAN = "Input 3 (M, maximum order) must not be NaN.";

geoharm_test::ArrayMaker doubles(std::vector<MexSize> dims, bool complex = false, bool sparse = false) {
    return geoharm_test::doubleArray(dims, complex, sparse);
}
geoharm_test::ArrayMaker ofClass(MexInt c, std::vector<MexSize> dims = {1, 1}) { return geoharm_test::classArray(c, dims); }
geoharm_test::ArrayMaker nan() { return geoharm_test::nanScalar(); }

const Refusal REFUSALS[] = {
    {"no inputs", nullptr, nullptr, nullptr, 0, 1, "geoharm_batch:nrhs", NRHS},
    {"two inputs, two outputs", nullptr, nullptr, nullptr, 2, 2, "geoharm_batch:nrhs", NRHS},
    {"a fourth input", nullptr, nullptr, nullptr, 4, 1, "geoharm_batch:nrhs", NRHS_MANY},
    {"five inputs, two outputs", nullptr, nullptr, nullptr, 5, 2, "geoharm_batch:nrhs", NRHS_MANY},
    {"two outputs", nullptr, nullptr, nullptr, 3, 2, "geoharm_batch:nlhs", NLHS},
    {"four outputs", nullptr, nullptr, nullptr, 3, 4, "geoharm_batch:nlhs", NLHS},
    {"two outputs, bad positions", doubles({3, 2}), nullptr, nullptr, 3, 2, "geoharm_batch:nlhs", NLHS},
    {"single positions", ofClass(geoharm::SINGLE_CLASS, {2, 3}), nullptr, nullptr, 3, 1, "geoharm_batch:positions",
     CLASS},
    {"int32 positions", ofClass(geoharm::INT32_CLASS, {2, 3}), nullptr, nullptr, 3, 1, "geoharm_batch:positions",
     CLASS},
    {"cell positions", ofClass(geoharm::CELL_CLASS, {2, 3}), nullptr, nullptr, 3, 1, "geoharm_batch:positions",
     CLASS},
    {"complex positions", doubles({2, 3}, true), nullptr, nullptr, 3, 1, "geoharm_batch:positions", CLASS},
    {"sparse positions", doubles({2, 3}, false, true), nullptr, nullptr, 3, 1, "geoharm_batch:positions", CLASS},
    {"0-by-0", doubles({0, 0}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", SHAPE},
    {"K-by-2", doubles({5, 2}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", SHAPE},
    {"1-by-6", doubles({1, 6}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", SHAPE},
    {"K-by-1-by-3", doubles({4, 1, 3}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", SHAPE},
    {"K-by-3-by-2", doubles({4, 3, 2}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", SHAPE},
    {"3-by-5", doubles({3, 5}), nullptr, nullptr, 3, 3, "geoharm_batch:positions", TRANSPOSED},
    {"3-by-0", doubles({3, 0}), nullptr, nullptr, 3, 1, "geoharm_batch:positions", TRANSPOSED},
    {"bad positions before bad N", doubles({3, 5}), nan(), nullptr, 3, 1, "geoharm_batch:positions", TRANSPOSED},
    {"empty N", nullptr, doubles({0, 0}), nullptr, 3, 1, "geoharm_batch:degree", DEGREE},
    {"1-by-2 N", nullptr, doubles({1, 2}), nullptr, 3, 1, "geoharm_batch:degree",
     "Input 2 (N, maximum degree) must be one number, not an array of several."},
    {"char N", nullptr, ofClass(geoharm::CHAR_CLASS), nullptr, 3, 1, "geoharm_batch:degree", DEGREE},
    {"sparse N", nullptr, doubles({1, 1}, false, true), nullptr, 3, 3, "geoharm_batch:degree", DEGREE},
    {"NaN N", nullptr, nan(), nullptr, 3, 1, "geoharm_batch:degree", DEGREE_NAN},
    {"bad N before bad M", nullptr, nan(), nan(), 3, 1, "geoharm_batch:degree", DEGREE_NAN},
    {"struct M", nullptr, nullptr, ofClass(geoharm::STRUCT_CLASS), 3, 1, "geoharm_batch:order", ORDER},
    {"NaN M", nullptr, nullptr, nan(), 3, 3, "geoharm_batch:order", ORDER_NAN},
};

void expectRefused(const std::vector<const Array*>& args, MexInt nlhs, const char* identifier, const char* message) {
    geoharm_test::expectRefused(batchPlugin(), args, nlhs, identifier, message);
}

TEST(BatchPlugin, BadCallsEndInTheirErrorAndLeaveNothing) {
    for (const Refusal& c : REFUSALS) {
        SCOPED_TRACE(c.what);
        const Array pos = c.positions ? c.positions() : positionsArray({{7e6, 1e6, 2e6}, {-6.5e6, 2.5e6, -1.5e6}});
        const Array n = c.n ? c.n() : makeScalar(geoharm::INT8_CLASS, 10);
        const Array m = c.m ? c.m() : makeScalar(geoharm::INT8_CLASS, 10);
        const Array extra = makeArray(geoharm::DOUBLE_CLASS, {0, 0});
        std::vector<const Array*> args{&pos, &n, &m, &extra, &extra};
        args.resize(static_cast<std::size_t>(c.nrhs));
        expectRefused(args, c.nlhs, c.identifier, c.message);
    }
}

TEST(BatchPlugin, RefusesMoreRowsThanThe32BitSizesHold) {
    if (sizeof(MexSize) < 8) GTEST_SKIP() << "a 32-bit host cannot hold that many elements";
    // Arrays with the dimensions but no data: the refusal must come from
    // the dimensions alone (a read of the data would fault).
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    for (MexInt nlhs : {1, 3}) {
        const Array huge(geoharm::host::createArrayWithoutData(geoharm::DOUBLE_CLASS, {715827883, 3}));
        expectRefused({&huge, &n, &n}, nlhs, "geoharm_batch:positions", ROWS);
        /* 2^32 rows (the shift written so that it is valid on 32 bits too). */
        const MexSize rows = MexSize{1} << (4 * sizeof(MexSize));
        const Array over32(geoharm::host::createArrayWithoutData(geoharm::DOUBLE_CLASS, {rows, 3}));
        expectRefused({&over32, &n, &n}, nlhs, "geoharm_batch:positions", ROWS);
    }
}

TEST(BatchPlugin, ValidCallTalksToTheHostInTheDescribedOrder) {
    // Before the outputs: queries only.  Then the outputs, the data
    // addresses, the int8 bytes; the points are read and the results
    // written in place (no copy routine of doubles).
    struct Case {
        const char* what;
        MexInt nClass, nlhs;
    };
    for (const Case& c : {Case{"int8, one output", geoharm::INT8_CLASS, 1},
                          Case{"double N, three outputs", geoharm::DOUBLE_CLASS, 3}}) {
        SCOPED_TRACE(c.what);
        const Array pos = positionsArray({{7e6, 1e6, 2e6}, {-6.5e6, 2.5e6, -1.5e6}});
        const Array n = makeScalar(c.nClass, 10);
        const Array m = makeScalar(geoharm::INT8_CLASS, 10);
        std::vector<geoharm::host::HostCall> trace;
        geoharm::host::traceHostCalls(&trace);
        const BatchResult r = callBatch({&pos, &n, &m}, c.nlhs);
        geoharm::host::traceHostCalls(nullptr);
        ASSERT_TRUE(r.ok);

        std::size_t create = 0;
        while (create < trace.size() && trace[create].routine != "mxcreatedoublematrix700_") create++;
        for (std::size_t i = 0; i < create; i++) {
            const std::string& q = trace[i].routine;
            EXPECT_TRUE(q.rfind("mxget", 0) == 0 || q.rfind("mxis", 0) == 0) << q << " before the outputs";
            EXPECT_NE(q, "mxgetpr_");
        }
        using geoharm::host::HostCall;
        std::vector<HostCall> steps;
        for (std::size_t i = 0; i < r.outputs.size(); i++)
            steps.push_back({"mxcreatedoublematrix700_", {2, c.nlhs == 3 ? 1 : 3, 0}});
        for (const Array* in : {&pos, &n, &m}) steps.push_back({"mxgetpr_", {in->handle()}});
        for (const Array& out : r.outputs) steps.push_back({"mxgetpr_", {out.handle()}});
        if (c.nClass == geoharm::INT8_CLASS)
            steps.push_back({"mxcopyptrtointeger1700_", {reinterpret_cast<std::intptr_t>(n.data()), 1}});
        steps.push_back({"mxcopyptrtointeger1700_", {reinterpret_cast<std::intptr_t>(m.data()), 1}});
        const std::vector<HostCall> after(trace.begin() + static_cast<std::ptrdiff_t>(create), trace.end());
        EXPECT_TRUE(after == steps);
    }
}

TEST(BatchPlugin, KeepsTheCallersFloatingPointState) {
    // Round toward zero with flush-to-zero on the caller's thread: the
    // results keep their bits, and the caller's state (flags included)
    // comes back after a good and after a refused call.
    const std::vector<std::vector<double>> points{{7e6, 1e6, 2e6}, {0.0, 0.0, 0.0}, {1e-300, 2e-300, 4.9e-324}};
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    std::vector<std::vector<double>> want;
    for (const auto& p : points) want.push_back(geoharmAt(p, n, n));
    const unsigned int saved = _mm_getcsr();
    const unsigned int caller = (saved & ~0x6000u) | 0x6000u | 0x8000u | 0x0001u;  // RZ, FTZ, invalid flag
    _mm_setcsr(caller);
    const bool kept = _mm_getcsr() == caller;
    _mm_setcsr(saved);
    if (!kept) GTEST_SKIP() << "MXCSR does not keep these modes here (valgrind emulates the default only)";
    for (bool refused : {false, true}) {
        const Array pos = positionsArray(points);
        const Array nanM = makeScalar(geoharm::DOUBLE_CLASS, NaN);
        _mm_setcsr(caller);
        const BatchResult r = callBatch({&pos, &n, refused ? &nanM : &n});
        const unsigned int after = _mm_getcsr();
        _mm_setcsr(saved);
        EXPECT_EQ(after, caller) << (refused ? "refused" : "good") << " call";
        EXPECT_EQ(r.ok, !refused);
        if (r.ok) {
            for (std::size_t i = 0; i < points.size(); i++)
                for (std::size_t c = 0; c < 3; c++)
                    EXPECT_SAME_BITS(static_cast<const double*>(r.outputs[0].data())[c * points.size() + i],
                                       want[i][c]);
        }
    }
}

}  // namespace

namespace {

TEST(EveryPlugin, AnOutputTheHostCannotCreateEndsTheCall) {
    // The host's k-th array fails, as when memory has run out: the call
    // ends with the host's error (the plug-in never gets a null handle),
    // the outputs made before are freed, every slot is cleared, and the
    // caller's floating-point state comes back although the plug-in was
    // stopped inside the host.  Two points (one for geoharm).
    static const geoharm::host::Plugin gradient = geoharm_test::loadedPlugin(GEOHARM_GRADIENT_PLUGIN);
    const geoharm::host::EntryPoint single = geoharm_test::pluginUnderTest().entry;
    struct Case {
        const char* name;
        geoharm::host::EntryPoint entry;
        MexInt nlhs;
        long failing; /* which of the call's arrays cannot be created */
        const char* message;
    };
    const Case cases[] = {
        {"geoharm", single, 1, 1, "Out of memory: cannot create a 3-by-1 double array (24 bytes)."},
        {"geoharm_batch", batchPlugin().entry, 1, 1, "Out of memory: cannot create a 2-by-3 double array (48 bytes)."},
        {"geoharm_batch", batchPlugin().entry, 3, 1, "Out of memory: cannot create a 2-by-1 double array (16 bytes)."},
        {"geoharm_batch", batchPlugin().entry, 3, 3, "Out of memory: cannot create a 2-by-1 double array (16 bytes)."},
        {"geoharm_gradient", gradient.entry, 3, 1,
         "Out of memory: cannot create a 3-by-3-by-2 double array (144 bytes)."},
        {"geoharm_gradient", gradient.entry, 3, 2, "Out of memory: cannot create a 2-by-3 double array (48 bytes)."},
        {"geoharm_gradient", gradient.entry, 3, 3, "Out of memory: cannot create a 2-by-1 double array (16 bytes)."},
    };
    const Array pos = positionsArray({{7e6, 1e6, 2e6}, {0.0, 0.0, 0.0}});
    const Array point = geoharm::host::makePosition(7e6, 1e6, 2e6);
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    const unsigned int saved = _mm_getcsr();
    const unsigned int caller = (saved & ~0x6000u) | 0x6000u;  // round toward zero
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", nlhs " + std::to_string(c.nlhs) + ", array " + std::to_string(c.failing));
        const long before = geoharm::host::liveArrays();
        const MexPointer inputs[3] = {c.entry == single ? point.handle() : pos.handle(), n.handle(), n.handle()};
        MexPointer plhs[3] = {0, 0, 0};
        geoharm::host::HostError error;
        std::size_t made = 0;
        geoharm::host::failArrayCreation(c.failing);
        _mm_setcsr(caller);
        const bool ok = geoharm::host::callEntryPoint(c.entry, c.nlhs, plhs, 3, inputs, error, made);
        const unsigned int after = _mm_getcsr();
        _mm_setcsr(saved);
        geoharm::host::failArrayCreation(0);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(error.raisedByHost);
        EXPECT_EQ(error.identifier, "host:nomem");
        EXPECT_EQ(error.message, c.message);
        EXPECT_EQ(made, static_cast<std::size_t>(c.failing - 1));
        EXPECT_EQ(plhs[0] | plhs[1] | plhs[2], 0);
        EXPECT_EQ(geoharm::host::liveArrays(), before);
        EXPECT_EQ(after, caller);
    }
    // Nothing stays behind: the next call is a good one.
    const BatchResult r = callBatch({&pos, &n, &n}, 3);
    EXPECT_TRUE(r.ok);
}

}  // namespace
