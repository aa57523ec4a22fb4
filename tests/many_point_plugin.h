/*
 * many_point_plugin.h - calls of the many-point plug-ins (geoharm_batch,
 * geoharm_gradient) through the stand-in host in tests: every output slot
 * kept, positions as a K-by-3 array, arrays that make refusals, and the
 * check that a refused call leaves nothing behind.
 */
#ifndef GEOHARM_TESTS_MANY_POINT_PLUGIN_H
#define GEOHARM_TESTS_MANY_POINT_PLUGIN_H

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

#include "plugin_host.h"

namespace geoharm_test {

/* A call with every output slot kept (nlhs slots, at least one). */
struct PluginOutcome {
    bool ok = false;
    geoharm::host::HostError error;
    std::vector<geoharm::host::Array> outputs;
    std::size_t arraysMade = 0;
};

inline PluginOutcome callKeepingOutputs(const geoharm::host::Plugin& plugin,
                                        const std::vector<const geoharm::host::Array*>& args, geoharm::MexInt nlhs) {
    std::vector<geoharm::MexPointer> inputs;
    for (const geoharm::host::Array* a : args) inputs.push_back(a->handle());
    std::vector<geoharm::MexPointer> plhs(nlhs > 1 ? static_cast<std::size_t>(nlhs) : 1, 0);
    PluginOutcome r;
    r.ok = geoharm::host::callEntryPoint(plugin.entry, nlhs, plhs.data(), static_cast<geoharm::MexInt>(inputs.size()),
                                         inputs.empty() ? nullptr : inputs.data(), r.error, r.arraysMade);
    for (geoharm::MexPointer h : plhs) r.outputs.emplace_back(h);
    return r;
}

/* K points as a K-by-3 array (column-major: x column, y column, z column). */
inline geoharm::host::Array positionsArray(const std::vector<std::vector<double>>& points) {
    const std::size_t k = points.size();
    geoharm::host::Array a = geoharm::host::makeArray(geoharm::DOUBLE_CLASS, {static_cast<geoharm::MexSize>(k), 3});
    for (std::size_t i = 0; i < k; i++)
        for (std::size_t c = 0; c < 3; c++) static_cast<double*>(a.data())[c * k + i] = points[i][c];
    return a;
}

/* Makers of the arrays of refused calls. */
using ArrayMaker = std::function<geoharm::host::Array()>;

inline ArrayMaker doubleArray(std::vector<geoharm::MexSize> dims, bool complex = false, bool sparse = false) {
    return [=] { return geoharm::host::makeArray(geoharm::DOUBLE_CLASS, dims, complex, sparse); };
}
inline ArrayMaker classArray(geoharm::MexInt c, std::vector<geoharm::MexSize> dims = {1, 1}) {
    return [=] { return geoharm::host::makeArray(c, dims); };
}
inline ArrayMaker nanScalar() {
    return [] { return geoharm::host::makeScalar(geoharm::DOUBLE_CLASS, std::numeric_limits<double>::quiet_NaN()); };
}

/* A call that must be refused: its arrays (nullptr: the test's good ones),
   counts, identifier and message. */
struct Refusal {
    const char* what;
    ArrayMaker positions;
    ArrayMaker n;
    ArrayMaker m;
    int nrhs;
    geoharm::MexInt nlhs;
    const char* identifier;
    const char* message;
};

/* The call ends in the error, creates nothing and leaves nothing alive. */
inline void expectRefused(const geoharm::host::Plugin& plugin, const std::vector<const geoharm::host::Array*>& args,
                          geoharm::MexInt nlhs, const char* identifier, const char* message) {
    const long before = geoharm::host::liveArrays();
    {
        const PluginOutcome r = callKeepingOutputs(plugin, args, nlhs);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error.identifier, identifier);
        EXPECT_EQ(r.error.message, message);
        EXPECT_EQ(r.arraysMade, 0u);  // refused before any output exists
        for (const geoharm::host::Array& out : r.outputs) EXPECT_EQ(out.handle(), 0);
    }
    EXPECT_EQ(geoharm::host::liveArrays(), before);
}

}  // namespace geoharm_test

#endif
