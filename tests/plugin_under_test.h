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

/* One call with the given input arrays (nlhs as given). */
inline geoharm::host::CallResult callWith(const std::vector<const geoharm::host::Array*>& args,
                                          geoharm::MexInt nlhs = 1) {
    std::vector<geoharm::MexPointer> inputs;
    for (const geoharm::host::Array* a : args) inputs.push_back(a->handle());
    return geoharm::host::callPlugin(pluginUnderTest(), nlhs, inputs);
}

}  // namespace geoharm_test

#endif
