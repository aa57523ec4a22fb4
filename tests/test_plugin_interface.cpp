// The binary interface of a built plug-in (geoharm.mexa64, or
// geoharm_batch.mexa64: one executable each, GEOHARM_PLUGIN its path and
// GEOHARM_PLUGIN_IMPORTS the host routines it calls), read back with
// readelf: what it exports, its symbol versions, what it needs to load, and
// that the C++ runtime's exception machinery is not in it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

std::string readelf(const std::string& options) {
    const auto run = geoharm_test::runCommand(std::string("readelf -W ") + options + " \"" + GEOHARM_PLUGIN + "\"");
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    std::string s;
    while (in >> s) w.push_back(s);
    return w;
}

/* The text between '[' and ']' on lines that contain `tag`. */
std::set<std::string> bracketed(const std::string& text, const std::string& tag) {
    std::set<std::string> found;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find(tag) == std::string::npos) continue;
        const auto open = line.find('[');
        const auto close = line.find(']', open);
        if (open != std::string::npos && close != std::string::npos) found.insert(line.substr(open + 1, close - open - 1));
    }
    return found;
}

TEST(PluginInterface, ExportsTheEntryPointAloneInFmex) {
    // Dynamic symbols: "Num: Value Size Type Bind Vis Ndx Name".
    std::set<std::string> functions;
    std::set<std::string> otherDefined;
    std::istringstream in(readelf("--dyn-syms"));
    std::string line;
    while (std::getline(in, line)) {
        const auto w = words(line);
        const bool entry = w.size() >= 8 && w[0].back() == ':' && std::isdigit(static_cast<unsigned char>(w[0][0]));
        if (!entry || w[6] == "UND" || w[4] == "LOCAL") continue;
        if (w[3] == "FUNC") {
            functions.insert(w[7]);
        } else if (!(w[6] == "ABS" && w[7] == "FMEX")) {
            // The version node's own marker symbol is the only other one allowed.
            otherDefined.insert(w[7]);
        }
    }
    EXPECT_EQ(functions, (std::set<std::string>{"mexfunction_@@FMEX"}));
    EXPECT_TRUE(otherDefined.empty()) << *otherDefined.begin();
}

TEST(PluginInterface, ImportsExactlyTheHostRoutinesItCalls) {
    // The contract with every host (the stand-in, the Octave adapter): the
    // routines of mex_host.h that the plug-in uses, by these names.
    std::set<std::string> hostImports;
    std::istringstream in(readelf("--dyn-syms"));
    std::string line;
    while (std::getline(in, line)) {
        const auto w = words(line);
        if (w.size() < 8 || w[6] != "UND") continue;
        if (w[7].rfind("mx", 0) == 0 || w[7].rfind("mex", 0) == 0) hostImports.insert(w[7]);
    }
    const auto names = words(GEOHARM_PLUGIN_IMPORTS);
    EXPECT_EQ(hostImports, std::set<std::string>(names.begin(), names.end()));
}

/* The plug-in's file name, which is also its soname and base version. */
std::string fileName() {
    const std::string path = GEOHARM_PLUGIN;
    return path.substr(path.find_last_of('/') + 1);
}

TEST(PluginInterface, HoldsNoExceptionMachinery) {
    // Built without exceptions, with the C++ runtime linked in statically:
    // nothing may pull in throwing, its personality routine or the
    // unwinder's raising (and with them the runtime's emergency pool).
    std::istringstream in(readelf("--syms"));
    std::string line;
    std::set<std::string> found;
    while (std::getline(in, line)) {
        const auto w = words(line);
        if (w.size() < 8) continue;
        for (const char* name : {"__cxa_throw", "__cxa_allocate_exception", "__gxx_personality_v0",
                                 "_Unwind_RaiseException", "__cxa_begin_catch"}) {
            if (w[7].rfind(name, 0) == 0) found.insert(w[7]);
        }
    }
    EXPECT_TRUE(found.empty()) << *found.begin();
}

TEST(PluginInterface, VersionDefinitionsAreBaseAndFmex) {
    // "Rev: 1  Flags: BASE  Index: 1  Cnt: 1  Name: geoharm.mexa64"
    std::vector<std::pair<std::string, std::string>> defs;
    std::istringstream in(readelf("--version-info"));
    std::string line;
    bool inDefs = false;
    while (std::getline(in, line)) {
        if (line.find("Version definition section") != std::string::npos) inDefs = true;
        else if (line.find("section '") != std::string::npos) inDefs = false;
        if (!inDefs || line.find("Flags:") == std::string::npos) continue;
        const auto w = words(line);
        std::string flags, name;
        for (std::size_t i = 0; i + 1 < w.size(); i++) {
            if (w[i] == "Flags:") flags = w[i + 1];
            if (w[i] == "Name:") name = w[i + 1];
        }
        defs.emplace_back(flags, name);
    }
    const std::vector<std::pair<std::string, std::string>> expected{{"BASE", fileName()}, {"none", "FMEX"}};
    EXPECT_EQ(defs, expected);
}

TEST(PluginInterface, NeedsTheHostLibrariesAndTheCLibraryOnly) {
    const std::string dynamic = readelf("--dynamic");
    const std::set<std::string> needed = bracketed(dynamic, "(NEEDED)");
    for (const char* lib : {"libmx.so", "libmex.so", "libmat.so"}) EXPECT_EQ(needed.count(lib), 1u) << lib;
    // Nothing of the C++ or GCC runtime: they are linked in.  The
    // sanitizers' runtimes are allowed in the sanitizer build.
    for (const std::string& lib : needed) {
        const bool allowed = lib == "libmx.so" || lib == "libmex.so" || lib == "libmat.so" || lib == "libc.so.6" ||
                             lib == "libm.so.6" || lib == "libpthread.so.0" || lib.rfind("libasan.so", 0) == 0 ||
                             lib.rfind("libubsan.so", 0) == 0;
        EXPECT_TRUE(allowed) << "needs " << lib;
    }
    EXPECT_EQ(bracketed(dynamic, "(SONAME)"), (std::set<std::string>{fileName()}));
    // The host finds the libraries; the plug-in carries no search path.
    EXPECT_TRUE(bracketed(dynamic, "PATH)").empty());
}

TEST(PluginInterface, LoadsWithGlibcFrom2_17On) {
    // Version needs: "0x0020:   Name: GLIBC_2.3.4  Flags: none  Version: 4".
    // A routine linked at its newest version (pthread_create@GLIBC_2.34 on
    // a recent build machine) would keep the plug-in from loading on the
    // older Linux releases that hosts still run.
    std::istringstream in(readelf("--version-info"));
    std::string line;
    int glibcNeeds = 0;
    while (std::getline(in, line)) {
        const auto at = line.find("Name: GLIBC_");
        if (at == std::string::npos || line.find("Flags:") == std::string::npos) continue;
        glibcNeeds++;
        int major = 0, minor = 0;
        ASSERT_EQ(std::sscanf(line.c_str() + at + 12, "%d.%d", &major, &minor), 2) << line;
        EXPECT_TRUE(major < 2 || (major == 2 && minor <= 17)) << line;
    }
    EXPECT_GT(glibcNeeds, 0);
}

}  // namespace
