// The built geoharm_model_tables plug-in through the stand-in host: each of
// its outputs is geoharm::model()'s number, bit for bit, in the shape the
// help text gives (the tables indexed (n+1, m+1)); the outputs asked for
// and no more; its refusals, before anything exists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <geoharm/geoharm.h>
#include <geoharm/version.h>

#include "many_point_plugin.h"
#include "mx_array.h"
#include "plugin_under_test.h"

namespace {

using geoharm::MexInt;
using geoharm::MexSize;

const geoharm::host::Plugin& modelPlugin() {
    static const geoharm::host::Plugin plugin = geoharm_test::loadedPlugin(GEOHARM_MODEL_PLUGIN);
    return plugin;
}

using ModelResult = geoharm_test::PluginOutcome;

/* A call with nrhs inputs (the same scalar) and nlhs outputs. */
ModelResult callModel(MexInt nlhs, MexInt nrhs = 0) {
    const geoharm::host::Array input = geoharm::host::makeScalar(geoharm::DOUBLE_CLASS, 1.0);
    return geoharm_test::callKeepingOutputs(modelPlugin(), std::vector<const geoharm::host::Array*>(nrhs, &input),
                                            nlhs);
}

/* Output k's dimensions and doubles. */
std::vector<double> valuesOf(const geoharm::host::Array& out, std::vector<MexSize>& dims) {
    const geoharm::host::MxArray* a = geoharm::host::arrayOf(out.handle(), "test");
    EXPECT_EQ(a->classId, geoharm::DOUBLE_CLASS);
    EXPECT_FALSE(a->complex);
    dims = a->dims;
    std::size_t count = 1;
    for (MexSize d : dims) count *= static_cast<std::size_t>(d);
    const double* p = static_cast<const double*>(out.data());
    return std::vector<double>(p, p + count);
}

TEST(ModelPlugin, EachOutputIsTheModelsNumberBitForBit) {
    const geoharm::Model md = geoharm::model();
    constexpr int side = geoharm::MAX_DEGREE + 1;
    std::vector<double> C, S;
    for (int m = 0; m < side; m++)
        for (int n = 0; n < side; n++) C.push_back(md.C[n][m]), S.push_back(md.S[n][m]);  // (n+1, m+1), by column
    const std::vector<std::vector<double>> want{{md.gm},
                                                {md.referenceRadius},
                                                {static_cast<double>(md.maxDegree)},
                                                C,
                                                S,
                                                {GEOHARM_VERSION_MAJOR, GEOHARM_VERSION_MINOR, GEOHARM_VERSION_PATCH}};
    const std::vector<std::vector<MexSize>> shapes{{1, 1}, {1, 1}, {1, 1}, {side, side}, {side, side}, {1, 3}};
    for (MexInt nlhs = 0; nlhs <= 6; nlhs++) {
        SCOPED_TRACE("nlhs " + std::to_string(nlhs));
        const ModelResult r = callModel(nlhs);
        ASSERT_TRUE(r.ok) << r.error.identifier << ": " << r.error.message;
        const std::size_t made = nlhs < 1 ? 1 : static_cast<std::size_t>(nlhs);
        EXPECT_EQ(r.arraysMade, made);
        for (std::size_t k = 0; k < made; k++) {
            std::vector<MexSize> dims;
            const std::vector<double> got = valuesOf(r.outputs[k], dims);
            EXPECT_EQ(dims, shapes[k]) << "output " << k;
            ASSERT_EQ(got.size(), want[k].size()) << "output " << k;
            EXPECT_EQ(std::memcmp(got.data(), want[k].data(), got.size() * sizeof(double)), 0) << "output " << k;
        }
    }
}

TEST(ModelPlugin, RefusalsLeaveNothing) {
    struct Case {
        MexInt nlhs, nrhs;
        const char* identifier;
        const char* message;
    };
    const Case cases[] = {
        {1, 1, "geoharm_model_tables:nrhs", "Too many inputs: none are taken."},
        {6, 3, "geoharm_model_tables:nrhs", "Too many inputs: none are taken."},
        {7, 0, "geoharm_model_tables:nlhs", "Ask for at most six outputs: GM, R_REF, maximum degree, C, S, version."},
    };
    const geoharm::host::Array input = geoharm::host::makeScalar(geoharm::DOUBLE_CLASS, 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        geoharm_test::expectRefused(modelPlugin(), std::vector<const geoharm::host::Array*>(c.nrhs, &input), c.nlhs,
                                    c.identifier, c.message);
    }
}

}  // namespace
