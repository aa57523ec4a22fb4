/*
 * settings.cpp - the environment read once.
 *
 * The first call of settings() reads the variables and keeps the answer
 * (once.h); a namespace-scope initializer makes that first call when the
 * library is loaded, before the program (or the host) has threads of its
 * own that call us.
 */
#include "machine/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "machine/once.h"

namespace geoharm {

namespace {

Once<Settings> kept;
char problem[256];

/* The value as it was set, cut for a message. */
void quote(char* out, std::size_t size, const char* value) {
    std::snprintf(out, size, "%.40s%s", value, value[0] != '\0' && std::strlen(value) > 40 ? "..." : "");
}

Settings readEnvironment() {
    Settings s{parseThreadLimit(std::getenv("GEOHARM_NUM_THREADS")), false, SimdLevel::SSE2, nullptr};
    const char* level = std::getenv("GEOHARM_SIMD_LEVEL");
    if (level == nullptr || level[0] == '\0') return s;
    char value[48];
    quote(value, sizeof value, level);
    SimdLevel named;
    if (!levelFromName(level, &named)) {
        std::snprintf(problem, sizeof problem,
                      "GEOHARM_SIMD_LEVEL is \"%s\", which is not a level: sse2, avx2, avx2_fma, avx512f or "
                      "avx512f_fma.",
                      value);
        s.levelProblem = problem;
    } else if (!processorRuns(named)) {
        std::snprintf(problem, sizeof problem,
                      "GEOHARM_SIMD_LEVEL is \"%s\", which this processor does not run: unset it, or name a "
                      "narrower level.",
                      value);
        s.levelProblem = problem;
    } else {
        s.levelForced = true;
        s.forcedLevel = named;
    }
    return s;
}

}  // namespace

int parseThreadLimit(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    long value = 0;
    const char* c = text;
    for (; *c >= '0' && *c <= '9'; c++) {
        value = value * 10 + (*c - '0');
        if (value > 1000000) value = 1000000;
    }
    return *c == '\0' ? static_cast<int>(value) : 0;
}

const Settings& settings() { return kept.get(readEnvironment); }

namespace {

/* Read when the library is loaded. */
const bool readAtLoad = (settings(), true);

}  // namespace

}  // namespace geoharm
