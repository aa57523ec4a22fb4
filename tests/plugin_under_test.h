/*
 * plugin_under_test.h - the built geoharm.mexa64, loaded once into the
 * test process through the stand-in host, and calls of it; any other
 * plug-in file loaded likewise.
 */
#ifndef GEOHARM_TESTS_PLUGIN_UNDER_TEST_H
#define GEOHARM_TESTS_PLUGIN_UNDER_TEST_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "plugin_host.h"

namespace geoharm_test {

/* The plug-in file at `path`, loaded (or the test process ends). */
inline geoharm::host::Plugin loadedPlugin(const char* path) {
    geoharm::host::Plugin p;
    std::string why;
    if (!geoharm::host::loadPlugin(path, p, why)) {
        ADD_FAILURE() << "cannot load " << path << ": " << why;
        std::abort();
    }
    return p;
}

/* The plug-in, loaded on first use and kept for the process. */
inline const geoharm::host::Plugin& pluginUnderTest() {
    static const geoharm::host::Plugin plugin = loadedPlugin(GEOHARM_PLUGIN);
    return plugin;
}

/* A call that keeps every output slot the host passes (nlhs slots, at
   least one), for plug-ins with several outputs. */
struct OutputsResult {
    bool ok = false;
    geoharm::host::HostError error;
    std::vector<geoharm::host::Array> outputs;
    std::size_t arraysMade = 0;
};

inline OutputsResult callKeepingOutputs(const geoharm::host::Plugin& plugin, geoharm::MexInt nlhs,
                                        const std::vector<geoharm::MexPointer>& inputs) {
    std::vector<geoharm::MexPointer> plhs(nlhs > 1 ? static_cast<std::size_t>(nlhs) : 1, 0);
    OutputsResult r;
    r.ok = geoharm::host::callEntryPoint(plugin.entry, nlhs, plhs.data(), static_cast<geoharm::MexInt>(inputs.size()),
                                         inputs.empty() ? nullptr : inputs.data(), r.error, r.arraysMade);
    for (geoharm::MexPointer h : plhs) r.outputs.emplace_back(h);
    return r;
}

/* One call with the given input arrays (nlhs as given). */
inline geoharm::host::CallResult callWith(const std::vector<const geoharm::host::Array*>& args,
                                          geoharm::MexInt nlhs = 1) {
    std::vector<geoharm::MexPointer> inputs;
    for (const geoharm::host::Array* a : args) inputs.push_back(a->handle());
    return geoharm::host::callPlugin(pluginUnderTest(), nlhs, inputs);
}

}  // namespace geoharm_test

#endif
