// The stand-in host itself, with entry points written here: what happens
// to arrays made during a call, how an error through the host unwinds, and
// how numbers become arrays of each class.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "mex_host.h"
#include "mx_array.h"
#include "plugin_host.h"

namespace {

using geoharm::MexInt;
using geoharm::MexPointer;
using namespace geoharm::host;

const MexInt TWO = 2;
const MexInt ONE = 1;
const MexInt ZERO = 0;

/* Makes two arrays, returns the second. */
void makeTwoKeepOne(const MexInt*, MexPointer* plhs, const MexInt*, const MexPointer*) {
    GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&TWO, &TWO, &ZERO);
    plhs[0] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&ONE, &TWO, &ZERO);
}

/* Makes an array, stores it, then raises an error with unterminated text. */
void makeThenFail(const MexInt*, MexPointer* plhs, const MexInt*, const MexPointer*) {
    plhs[0] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&ONE, &ONE, &ZERO);
    const char id[] = {'t', 'e', 's', 't', ':', 'i', 'd', 'X', 'X'};
    const char text[] = {'g', 'o', 'n', 'e', '!', '?'};
    GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)(id, text, 7, 5);
}

/* Errors from a few frames down. */
void failDeep(int depth) {
    if (depth < 0) return;
    if (depth == 0) GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)("deep:id", "deep", 7, 4);
    failDeep(depth - 1);
}
void failFromDepth(const MexInt*, MexPointer*, const MexInt* nrhs, const MexPointer*) { failDeep(*nrhs); }

TEST(StandInHost, KeepsOutputsAndFreesTheRest) {
    const long before = liveArrays();
    MexPointer plhs[1] = {0};
    HostError error;
    std::size_t made = 99;
    ASSERT_TRUE(callEntryPoint(makeTwoKeepOne, 1, plhs, 0, nullptr, error, made));
    EXPECT_EQ(made, 2u);
    EXPECT_EQ(liveArrays(), before + 1);
    EXPECT_EQ(GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&plhs[0]), 2);
    destroyArray(plhs[0]);
    EXPECT_EQ(liveArrays(), before);
}

TEST(StandInHost, ErrorUnwindsFreesAndReportsByLength) {
    const long before = liveArrays();
    MexPointer plhs[2] = {0, 0};
    HostError error;
    std::size_t made = 99;
    EXPECT_FALSE(callEntryPoint(makeThenFail, 2, plhs, 0, nullptr, error, made));
    EXPECT_EQ(made, 1u);
    EXPECT_EQ(plhs[0], 0);
    EXPECT_EQ(liveArrays(), before);
    EXPECT_EQ(error.identifier, "test:id");
    EXPECT_EQ(error.message, "gone!");

    // A later call on the same thread starts afresh, at any depth.
    for (MexInt depth : {0, 3, 50}) {
        EXPECT_FALSE(callEntryPoint(failFromDepth, 1, plhs, depth, nullptr, error, made));
        EXPECT_EQ(error.identifier, "deep:id");
    }
    ASSERT_TRUE(callEntryPoint(makeTwoKeepOne, 1, plhs, 0, nullptr, error, made));
    destroyArray(plhs[0]);
}

TEST(StandInHost, ArraysOfEveryShape) {
    struct Case {
        MexInt classId;
        std::vector<geoharm::MexSize> dims;
        bool complex, sparse;
        geoharm::MexSize count;
        std::size_t elementBytes;
    };
    const Case cases[] = {
        {geoharm::DOUBLE_CLASS, {3, 2}, false, false, 6, 8},  {geoharm::SINGLE_CLASS, {2, 3, 4}, true, false, 24, 4},
        {geoharm::INT8_CLASS, {0, 5}, false, false, 0, 1},    {geoharm::UINT64_CLASS, {1}, false, false, 1, 8},
        {geoharm::LOGICAL_CLASS, {4, 4}, false, true, 16, 1}, {geoharm::CHAR_CLASS, {1, 7}, false, false, 7, 2},
        {geoharm::INT16_CLASS, {2, 2}, false, false, 4, 2},   {geoharm::UINT32_CLASS, {1, 1}, false, false, 1, 4},
        {geoharm::CELL_CLASS, {2, 1}, false, false, 2, sizeof(MexPointer)},
    };
    for (const Case& c : cases) {
        const Array a = makeArray(c.classId, c.dims, c.complex, c.sparse);
        const MexPointer h = a.handle();
        EXPECT_EQ(GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&h), c.classId);
        EXPECT_EQ(GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&h), c.count);
        EXPECT_EQ(GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(&h), c.complex ? 1 : 0);
        EXPECT_EQ(GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(&h), c.sparse ? 1 : 0);
        EXPECT_EQ(elementSize(c.classId), c.elementBytes);
        EXPECT_EQ(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&h), GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(&h));
        EXPECT_EQ(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&h) == 0, c.count == 0);
        EXPECT_EQ(imagData(h) != nullptr, c.complex && c.count > 0);
    }
}

/* Asks for a 3-by--1-by-2 double array: a size the host refuses. */
void makeNegativeSize(const MexInt*, MexPointer* plhs, const MexInt*, const MexPointer*) {
    const MexInt dims[3] = {3, -1, 2};
    const MexInt ndim = 3, classId = geoharm::DOUBLE_CLASS, real = 0;
    plhs[0] = GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(&ndim, dims, &classId, &real);
}

TEST(StandInHost, NumericArraysOfAnyDimensionsKeepTheHostsShape) {
    /* Trailing dimensions of 1 after the second dropped, fewer than two
       padded; a negative size makes no array: the host ends the call. */
    struct Case {
        std::vector<MexInt> dims;
        MexInt classId, complex;
        std::vector<geoharm::MexSize> shape;
        geoharm::MexSize count;
    };
    const Case cases[] = {
        {{3, 3, 2}, geoharm::DOUBLE_CLASS, 0, {3, 3, 2}, 18}, {{3, 3, 1}, geoharm::DOUBLE_CLASS, 0, {3, 3}, 9},
        {{3, 3, 0}, geoharm::DOUBLE_CLASS, 0, {3, 3, 0}, 0},  {{2, 1, 1, 1}, geoharm::INT8_CLASS, 1, {2, 1}, 2},
        {{4}, geoharm::SINGLE_CLASS, 0, {4, 1}, 4},           {{1, 1, 5, 1}, geoharm::DOUBLE_CLASS, 0, {1, 1, 5}, 5},
    };
    for (const Case& c : cases) {
        const MexInt ndim = static_cast<MexInt>(c.dims.size());
        const Array a(GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(&ndim, c.dims.data(),
                                                                                         &c.classId, &c.complex));
        const MxArray* made = arrayOf(a.handle(), "test");
        EXPECT_EQ(made->dims, c.shape);
        EXPECT_EQ(made->count, c.count);
        EXPECT_EQ(made->classId, c.classId);
        EXPECT_EQ(made->complex, c.complex != 0);
        for (geoharm::MexSize i = 0; i < c.count; i++)
            EXPECT_EQ(static_cast<const unsigned char*>(made->real)[i * static_cast<geoharm::MexSize>(elementSize(c.classId))], 0);
    }
    const long before = liveArrays();
    MexPointer plhs[1] = {0};
    HostError error;
    std::size_t made = 0;
    EXPECT_FALSE(callEntryPoint(makeNegativeSize, 1, plhs, 0, nullptr, error, made));
    EXPECT_TRUE(error.raisedByHost);
    EXPECT_EQ(error.identifier, "host:nomem");
    EXPECT_EQ(error.message, "Cannot create a 3-by--1-by-2 double array: a size is negative.");
    EXPECT_EQ(plhs[0], 0);
    EXPECT_EQ(liveArrays(), before);
}

TEST(StandInHost, ScalarsConvertLikeTheCallersLanguage) {
    struct Case {
        MexInt classId;
        double value;
        std::int64_t expected; /* the stored element, widened */
    };
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {geoharm::INT8_CLASS, -1, -1},        {geoharm::INT8_CLASS, 2.5, 3},
        {geoharm::INT8_CLASS, -2.5, -3},      {geoharm::INT8_CLASS, 200, 127},
        {geoharm::INT8_CLASS, -128.5, -128},  {geoharm::INT8_CLASS, NaN, 0},
        {geoharm::UINT8_CLASS, -1, 0},        {geoharm::UINT8_CLASS, 200, 200},
        {geoharm::UINT8_CLASS, 255.5, 255},   {geoharm::INT16_CLASS, 266, 266},
        {geoharm::INT16_CLASS, 1e9, 32767},   {geoharm::UINT16_CLASS, 70000, 65535},
        {geoharm::CHAR_CLASS, 65, 65},        {geoharm::INT32_CLASS, -3e9, -2147483648LL},
        {geoharm::UINT32_CLASS, 3e9, 3000000000LL},
        {geoharm::INT64_CLASS, 1e19, std::numeric_limits<std::int64_t>::max()},
        {geoharm::INT64_CLASS, -1e19, std::numeric_limits<std::int64_t>::min()},
        {geoharm::UINT64_CLASS, -5, 0},       {geoharm::LOGICAL_CLASS, 0.25, 1},
        {geoharm::LOGICAL_CLASS, -0.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.classId) + " <- " + std::to_string(c.value));
        const Array a = makeScalar(c.classId, c.value);
        std::int64_t stored = 0;
        const std::size_t size = elementSize(c.classId);
        const bool isSigned = c.classId == geoharm::INT8_CLASS || c.classId == geoharm::INT16_CLASS ||
                              c.classId == geoharm::INT32_CLASS || c.classId == geoharm::INT64_CLASS;
        std::memcpy(&stored, a.data(), size);
        if (isSigned && size < 8) {
            const int shift = static_cast<int>(64 - 8 * size);
            stored = static_cast<std::int64_t>(static_cast<std::uint64_t>(stored) << shift) >> shift;
        }
        EXPECT_EQ(stored, c.expected);
    }
    // Floating classes keep the value as the class rounds it.
    const Array d = makeScalar(geoharm::DOUBLE_CLASS, 0.1);
    const Array s = makeScalar(geoharm::SINGLE_CLASS, 0.1);
    EXPECT_EQ(*static_cast<const double*>(d.data()), 0.1);
    EXPECT_EQ(*static_cast<const float*>(s.data()), 0.1f);
}

TEST(StandInHost, LoadingFailsCleanly) {
    Plugin p;
    std::string why;
    EXPECT_FALSE(loadPlugin("/nonexistent/geoharm.mexa64", p, why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(p.entry, nullptr);

    // A library that loads but has no entry point.
    why.clear();
    EXPECT_FALSE(loadPlugin(GEOHARM_LIBMAT, p, why));
    EXPECT_NE(why.find(std::string("no entry point ") + GEOHARM_MEX_NAME("mexfunction_", "MEXFUNCTION")),
              std::string::npos)
        << why;
    EXPECT_EQ(p.library, nullptr);
}

}  // namespace
