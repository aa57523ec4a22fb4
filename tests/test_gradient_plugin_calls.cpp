// The built geoharm_gradient plug-in through the stand-in host: the shapes
// of T, A and U for every number of outputs; the worked gradients; every
// point the library's evaluateGradientMany, A what geoharm_batch returns
// (both plug-ins loaded in this process); N and M read as geoharm_batch
// reads them; every refusal with its identifier and message before
// anything exists; the host calls of a valid call; the caller's
// floating-point state.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bits.h"
#include "many_point_plugin.h"
#include "many/evaluate_gradient_many.h"
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

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

using Outcome = geoharm_test::PluginOutcome;
using geoharm_test::positionsArray;

Outcome call(const char* path, const std::vector<const Array*>& args, MexInt nlhs) {
    static const geoharm::host::Plugin gradient = geoharm_test::loadedPlugin(GEOHARM_GRADIENT_PLUGIN);
    static const geoharm::host::Plugin batch = geoharm_test::loadedPlugin(GEOHARM_BATCH_PLUGIN);
    return geoharm_test::callKeepingOutputs(path == std::string(GEOHARM_BATCH_PLUGIN) ? batch : gradient, args, nlhs);
}

Outcome callGradient(const std::vector<const Array*>& args, MexInt nlhs = 3) {
    return call(GEOHARM_GRADIENT_PLUGIN, args, nlhs);
}

std::vector<MexSize> dimsOf(const Array& a) { return geoharm::host::arrayOf(a.handle(), "test")->dims; }

const double* doubles(const Array& a) { return static_cast<const double*>(a.data()); }

/* The worked positions and points at the edges of the evaluation. */
std::vector<std::vector<double>> manyPoints() {
    std::vector<std::vector<double>> points;
    for (const auto& w : geoharm_test::WORKED_EXAMPLES) points.push_back({w.x, w.y, w.z});
    const std::vector<std::vector<double>> edges{{0.0, 0.0, 0.0},   {-0.0, 0.0, 6600000.0}, {INF, 0.0, 7e6},
                                                 {NaN, 1.0, 1.0},   {1e200, 1e200, 1e200},  {4.9e-324, 7e6, -0.0},
                                                 {1e-19, 0.0, 0.0}, {6378137.0, 0.0, 0.0}};
    points.insert(points.end(), edges.begin(), edges.end());
    return points;
}

/* Every output form of a call on `points`: the shapes, T and U against the
   library, A against geoharm_batch, the inputs unchanged. */
void expectAsLibraryAndBatch(const std::vector<std::vector<double>>& points, const Array& n, const Array& m,
                             std::int8_t libraryN, std::int8_t libraryM, const std::string& what) {
    const std::size_t k = points.size();
    std::vector<double> x, y, z;
    for (const auto& p : points) x.push_back(p[0]), y.push_back(p[1]), z.push_back(p[2]);
    std::vector<double> T(9 * k), ax(k), ay(k), az(k), U(k);
    geoharm::evaluateGradientMany(k, x.data(), y.data(), z.data(), libraryN, libraryM, T.data(), ax.data(), ay.data(),
                                  az.data(), U.data());
    const Array pos = positionsArray(points);
    const Outcome batch = call(GEOHARM_BATCH_PLUGIN, {&pos, &n, &m}, 1);
    ASSERT_TRUE(batch.ok) << batch.error.message;
    for (MexInt nlhs : {0, 1, 2, 3}) {
        SCOPED_TRACE(what + ", nlhs " + std::to_string(nlhs));
        const Outcome r = callGradient({&pos, &n, &m}, nlhs);
        ASSERT_TRUE(r.ok) << r.error.identifier << ": " << r.error.message;
        const std::size_t outputs = nlhs < 1 ? 1 : static_cast<std::size_t>(nlhs);
        ASSERT_EQ(r.arraysMade, outputs);
        const std::vector<MexSize> tensorDims =
            k == 1 ? std::vector<MexSize>{3, 3} : std::vector<MexSize>{3, 3, static_cast<MexSize>(k)};
        EXPECT_EQ(dimsOf(r.outputs[0]), tensorDims);
        for (std::size_t i = 0; i < 9 * k; i++) EXPECT_SAME_BITS(doubles(r.outputs[0])[i], T[i]) << "T " << i;
        if (outputs >= 2) {
            EXPECT_EQ(dimsOf(r.outputs[1]), (std::vector<MexSize>{static_cast<MexSize>(k), 3}));
            for (std::size_t i = 0; i < 3 * k; i++)
                EXPECT_SAME_BITS(doubles(r.outputs[1])[i], doubles(batch.outputs[0])[i]) << "A " << i;
        }
        if (outputs >= 3) {
            EXPECT_EQ(dimsOf(r.outputs[2]), (std::vector<MexSize>{static_cast<MexSize>(k), 1}));
            for (std::size_t i = 0; i < k; i++) EXPECT_SAME_BITS(doubles(r.outputs[2])[i], U[i]) << "U " << i;
        }
        for (const Array& out : r.outputs) {
            const geoharm::host::MxArray* a = geoharm::host::arrayOf(out.handle(), "test");
            EXPECT_EQ(a->classId, geoharm::DOUBLE_CLASS);
            EXPECT_FALSE(a->complex || a->sparse);
        }
        for (std::size_t i = 0; i < k; i++)
            for (std::size_t c = 0; c < 3; c++) EXPECT_SAME_BITS(doubles(pos)[c * k + i], points[i][c]) << "input";
    }
}

}  // namespace

TEST(GradientPlugin, WorkedGradients) {
    // One point as a 1-by-3 row, and as the 3-by-1 column geoharm takes.
    for (const auto& w : geoharm_test::GRADIENT_EXAMPLES) for (const bool column : {false, true}) {
        const Array pos = column ? geoharm::host::makePosition(w.x, w.y, w.z) : positionsArray({{w.x, w.y, w.z}});
        const Array n = makeScalar(geoharm::DOUBLE_CLASS, w.n);
        const Array m = makeScalar(geoharm::INT8_CLASS, w.m);
        const Outcome r = callGradient({&pos, &n, &m});
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(dimsOf(r.outputs[1]), (std::vector<MexSize>{1, 3}));
        const double* T = doubles(r.outputs[0]);
        const double six[6] = {T[0], T[4], T[8], T[1], T[2], T[5]};
        for (int e = 0; e < 6; e++) EXPECT_SAME_BITS(six[e], w.t[e]) << "entry " << e << " at N=" << w.n;
        EXPECT_SAME_BITS(T[3], T[1]);
        EXPECT_SAME_BITS(T[6], T[2]);
        EXPECT_SAME_BITS(T[7], T[5]);
        EXPECT_SAME_BITS(doubles(r.outputs[2])[0], w.U);
    }
}

TEST(GradientPlugin, EveryPointAsTheLibraryAndTheAccelerationAsGeoharmBatch) {
    for (int limits : {-1, 0, 1, 2, 3, 10, 11, 127}) {
        const Array n = makeScalar(geoharm::INT8_CLASS, limits);
        const Array m = makeScalar(geoharm::INT8_CLASS, limits == 3 ? 1 : limits);
        expectAsLibraryAndBatch(manyPoints(), n, m, static_cast<std::int8_t>(limits),
                                static_cast<std::int8_t>(limits == 3 ? 1 : limits), "N = " + std::to_string(limits));
    }
    /* One point: a 3-by-3 tensor. */
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    expectAsLibraryAndBatch({{7e6, 1e6, 2e6}}, n, n, 10, 10, "one point");
}

TEST(GradientPlugin, ReadsNAndMAsGeoharmBatchDoes) {
    struct Limits {
        const char* what;
        MexInt nClass;
        double n;
        MexInt mClass;
        double m;
        std::int8_t libraryN, libraryM;
    };
    const Limits cases[] = {
        {"double 10", geoharm::DOUBLE_CLASS, 10, geoharm::DOUBLE_CLASS, 10, 10, 10},
        {"single 3.5, double 1.99", geoharm::SINGLE_CLASS, 3.5, geoharm::DOUBLE_CLASS, 1.99, 3, 1},
        {"uint8 200, int16 266", geoharm::UINT8_CLASS, 200, geoharm::INT16_CLASS, 266, 127, 127},
        {"-inf, +inf", geoharm::DOUBLE_CLASS, -INF, geoharm::DOUBLE_CLASS, INF, -128, 127},
        {"logical, uint64", geoharm::LOGICAL_CLASS, 1, geoharm::UINT64_CLASS, 4, 1, 4},
    };
    for (const Limits& c : cases) {
        const Array n = makeScalar(c.nClass, c.n);
        const Array m = makeScalar(c.mClass, c.m);
        expectAsLibraryAndBatch({{7e6, 1e6, 2e6}, {488603.552, 8134012.108, -9947002.437}}, n, m, c.libraryN,
                                c.libraryM, c.what);
    }
}

TEST(GradientPlugin, NoPointsGiveEmptyOutputs) {
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    const Array pos = makeArray(geoharm::DOUBLE_CLASS, {0, 3});
    const Outcome r = callGradient({&pos, &n, &n}, 3);
    ASSERT_TRUE(r.ok) << r.error.message;
    EXPECT_EQ(dimsOf(r.outputs[0]), (std::vector<MexSize>{3, 3, 0}));
    EXPECT_EQ(dimsOf(r.outputs[1]), (std::vector<MexSize>{0, 3}));
    EXPECT_EQ(dimsOf(r.outputs[2]), (std::vector<MexSize>{0, 1}));
}

namespace {

const char* const NRHS = "Three inputs are needed, and no more: positions P, N and M.";
const char* const NLHS =
    "At most three outputs: the tensors T (3-by-3-by-K), the accelerations A (K-by-3) and the potentials U (K-by-1).";
const char* const CLASS = "Input 1 (positions) must be a real, non-sparse double array.";
const char* const SHAPE = "Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.";
const char* const TRANSPOSED =
    "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array with columns x, y, z.";
const char* const ROWS =
    "Input 1 (positions) has too many rows: one call takes at most 238609294 points, so that the 9*K elements of its "
    "tensors fit the host's 32-bit sizes.";
const char* const DEGREE = "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.";
const char* const ORDER_NAN = "Input 3 (M, maximum order) must not be NaN.";

using geoharm_test::classArray;
using geoharm_test::doubleArray;
using geoharm_test::nanScalar;
using geoharm_test::Refusal;

const Refusal REFUSALS[] = {
    {"no inputs", nullptr, nullptr, nullptr, 0, 1, "geoharm_gradient:nrhs", NRHS},
    {"two inputs", nullptr, nullptr, nullptr, 2, 1, "geoharm_gradient:nrhs", NRHS},
    {"four inputs", nullptr, nullptr, nullptr, 4, 1, "geoharm_gradient:nrhs", NRHS},
    {"four inputs, four outputs", nullptr, nullptr, nullptr, 4, 4, "geoharm_gradient:nrhs", NRHS},
    {"four outputs", nullptr, nullptr, nullptr, 3, 4, "geoharm_gradient:nlhs", NLHS},
    {"four outputs, bad positions", doubleArray({3, 2}), nullptr, nullptr, 3, 4, "geoharm_gradient:nlhs", NLHS},
    {"single positions", classArray(geoharm::SINGLE_CLASS, {2, 3}), nullptr, nullptr, 3, 1,
     "geoharm_gradient:positions", CLASS},
    {"complex positions", doubleArray({2, 3}, true), nullptr, nullptr, 3, 3, "geoharm_gradient:positions", CLASS},
    {"sparse positions", doubleArray({2, 3}, false, true), nullptr, nullptr, 3, 1, "geoharm_gradient:positions", CLASS},
    {"K-by-2", doubleArray({5, 2}), nullptr, nullptr, 3, 1, "geoharm_gradient:positions", SHAPE},
    {"K-by-1-by-3", doubleArray({4, 1, 3}), nullptr, nullptr, 3, 2, "geoharm_gradient:positions", SHAPE},
    {"3-by-5", doubleArray({3, 5}), nullptr, nullptr, 3, 3, "geoharm_gradient:positions", TRANSPOSED},
    {"bad positions before bad N", doubleArray({3, 5}), nanScalar(), nullptr, 3, 1, "geoharm_gradient:positions", TRANSPOSED},
    {"char N", nullptr, classArray(geoharm::CHAR_CLASS), nullptr, 3, 1, "geoharm_gradient:degree", DEGREE},
    {"empty N, NaN M", nullptr, doubleArray({0, 0}), nanScalar(), 3, 3, "geoharm_gradient:degree", DEGREE},
    {"NaN M", nullptr, nullptr, nanScalar(), 3, 2, "geoharm_gradient:order", ORDER_NAN},
};

void expectRefused(const std::vector<const Array*>& args, MexInt nlhs, const char* identifier, const char* message) {
    static const geoharm::host::Plugin gradient = geoharm_test::loadedPlugin(GEOHARM_GRADIENT_PLUGIN);
    geoharm_test::expectRefused(gradient, args, nlhs, identifier, message);
}

}  // namespace

TEST(GradientPlugin, BadCallsEndInTheirErrorAndLeaveNothing) {
    for (const Refusal& c : REFUSALS) {
        SCOPED_TRACE(c.what);
        const Array pos = c.positions ? c.positions() : positionsArray({{7e6, 1e6, 2e6}, {-6.5e6, 2.5e6, -1.5e6}});
        const Array n = c.n ? c.n() : makeScalar(geoharm::INT8_CLASS, 10);
        const Array m = c.m ? c.m() : makeScalar(geoharm::INT8_CLASS, 10);
        const Array extra = makeScalar(geoharm::DOUBLE_CLASS, 1);
        std::vector<const Array*> args{&pos, &n, &m, &extra};
        args.resize(static_cast<std::size_t>(c.nrhs));
        expectRefused(args, c.nlhs, c.identifier, c.message);
    }
}

TEST(GradientPlugin, RefusesMoreRowsThanThe32BitSizesHold) {
    if (sizeof(MexSize) < 8) GTEST_SKIP() << "a 32-bit host cannot hold that many elements";
    /* Dimensions without data: the refusal must come from them alone. */
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    const Array huge(geoharm::host::createArrayWithoutData(geoharm::DOUBLE_CLASS, {238609295, 3}));
    expectRefused({&huge, &n, &n}, 1, "geoharm_gradient:positions", ROWS);
    const Array batchSized(geoharm::host::createArrayWithoutData(geoharm::DOUBLE_CLASS, {715827882, 3}));
    expectRefused({&batchSized, &n, &n}, 3, "geoharm_gradient:positions", ROWS);
}

TEST(GradientPlugin, ValidCallTalksToTheHostInTheDescribedOrder) {
    for (MexInt nlhs : {1, 3}) {
        SCOPED_TRACE(nlhs);
        const Array pos = positionsArray({{7e6, 1e6, 2e6}, {-6.5e6, 2.5e6, -1.5e6}});
        const Array n = makeScalar(geoharm::INT8_CLASS, 10);
        const Array m = makeScalar(geoharm::DOUBLE_CLASS, 10);
        std::vector<geoharm::host::HostCall> trace;
        geoharm::host::traceHostCalls(&trace);
        const Outcome r = callGradient({&pos, &n, &m}, nlhs);
        geoharm::host::traceHostCalls(nullptr);
        ASSERT_TRUE(r.ok);

        std::size_t create = 0;
        while (create < trace.size() && trace[create].routine.rfind("mxcreate", 0) != 0) create++;
        for (std::size_t i = 0; i < create; i++) {
            const std::string& q = trace[i].routine;
            EXPECT_TRUE(q.rfind("mxget", 0) == 0 || q.rfind("mxis", 0) == 0) << q << " before the outputs";
            EXPECT_NE(q, "mxgetpr_");
        }
        using geoharm::host::HostCall;
        std::vector<HostCall> steps{{"mxcreatenumericarray700_", {3, 3, 3, 2, geoharm::DOUBLE_CLASS, 0}}};
        if (nlhs == 3) {
            steps.push_back({"mxcreatedoublematrix700_", {2, 3, 0}});
            steps.push_back({"mxcreatedoublematrix700_", {2, 1, 0}});
        }
        for (const Array* in : {&pos, &n, &m}) steps.push_back({"mxgetpr_", {in->handle()}});
        for (const Array& out : r.outputs) steps.push_back({"mxgetpr_", {out.handle()}});
        steps.push_back({"mxcopyptrtointeger1700_", {reinterpret_cast<std::intptr_t>(n.data()), 1}});
        const std::vector<HostCall> after(trace.begin() + static_cast<std::ptrdiff_t>(create), trace.end());
        EXPECT_TRUE(after == steps);
    }
}

TEST(GradientPlugin, KeepsTheCallersFloatingPointState) {
    const Array n = makeScalar(geoharm::INT8_CLASS, 10);
    const unsigned int saved = _mm_getcsr();
    const unsigned int caller = (saved & ~0x6000u) | 0x2000u | 0x8040u | 0x0001u;  // round down, FTZ, DAZ, a flag
    _mm_setcsr(caller);
    const bool kept = _mm_getcsr() == caller;
    _mm_setcsr(saved);
    if (!kept) GTEST_SKIP() << "MXCSR does not keep these modes here (valgrind emulates the default only)";
    const std::vector<std::vector<double>> points{{7e6, 1e6, 2e6}, {0.0, 0.0, 0.0}, {1e-300, 2e-300, 4.9e-324}};
    const Array pos = positionsArray(points);
    const Outcome want = callGradient({&pos, &n, &n});
    ASSERT_TRUE(want.ok);
    for (bool refused : {false, true}) {
        const Array nanM = makeScalar(geoharm::DOUBLE_CLASS, NaN);
        _mm_setcsr(caller);
        const Outcome r = callGradient({&pos, &n, refused ? &nanM : &n});
        const unsigned int after = _mm_getcsr();
        _mm_setcsr(saved);
        EXPECT_EQ(after, caller) << (refused ? "refused" : "good") << " call";
        EXPECT_EQ(r.ok, !refused);
        if (!r.ok) continue;
        for (std::size_t o = 0; o < 3; o++)
            for (std::size_t i = 0; i < (o == 0 ? 27u : o == 1 ? 9u : 3u); i++)
                EXPECT_SAME_BITS(doubles(r.outputs[o])[i], doubles(want.outputs[o])[i]);
    }
}
