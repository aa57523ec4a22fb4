// Soak: a million calls of the built plug-in in one process through the
// stand-in host, good and refused ones interleaved.  Every good call must
// give the bits of a direct evaluateAcceleration (a NaN matches a NaN),
// every refused one its identifier; no host array may be left behind and
// the resident memory must stay flat once the process has warmed up.
//
// GEOHARM_SOAK_CALLS sets the number of calls (default 1000000); the
// memory check needs at least three checkpoints (CHECKPOINT calls each).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "point/evaluate_acceleration.h"
#include "plugin_under_test.h"
#include "random_points.h"

namespace {

using geoharm::MexInt;
using geoharm::host::Array;
using geoharm::host::makeArray;
using geoharm::host::makePosition;
using geoharm::host::makeScalar;

constexpr long CHECKPOINT = 100000;
/* Growth of the resident set allowed after the first checkpoint.  One
   leaked array (a few dozen bytes) per thousand calls would exceed it. */
constexpr long RSS_GROWTH_LIMIT_KB = 1024;

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

/* One call of the mix, with what it must give. */
struct SoakCall {
    std::vector<Array> args;
    bool good;
    double want[3];         /* good calls: the direct evaluation */
    std::string identifier; /* refused calls */
};

SoakCall goodCall(double x, double y, double z, MexInt nClass, double n, MexInt mClass, double m,
                  std::int8_t nValue, std::int8_t mValue) {
    SoakCall c;
    c.args.push_back(makePosition(x, y, z));
    c.args.push_back(makeScalar(nClass, n));
    c.args.push_back(makeScalar(mClass, m));
    c.good = true;
    geoharm::FieldInput in{x, y, z, nValue, mValue};
    geoharm::evaluateAcceleration(in, c.want);
    return c;
}

SoakCall refusedCall(std::vector<Array> args, const char* identifier) {
    SoakCall c;
    c.args = std::move(args);
    c.good = false;
    c.identifier = identifier;
    return c;
}

std::vector<Array> withPosition(Array n, Array m) {
    std::vector<Array> a;
    a.push_back(makePosition(7000000.0, 1000000.0, 2000000.0));
    a.push_back(std::move(n));
    a.push_back(std::move(m));
    return a;
}

/* The mix: ordinary points in several classes of N and M, the points where
   IEEE rules decide the result, and every kind of refusal. */
std::vector<SoakCall> makeMix() {
    std::vector<SoakCall> mix;
    geoharm_test::XorShift rng{0x2545F4914F6CDD1Dull};
    const MexInt classes[] = {geoharm::INT8_CLASS,  geoharm::DOUBLE_CLASS, geoharm::SINGLE_CLASS,
                              geoharm::INT16_CLASS, geoharm::UINT8_CLASS,  geoharm::INT64_CLASS};
    for (int i = 0; i < 48; i++) {
        double p[3];
        geoharm_test::randomPoint(rng, 6.5e6, 4.0e7, p);
        const MexInt cls = classes[rng.next() % 6];
        /* Limits that every class above holds as they are: 0..12. */
        const auto n = static_cast<std::int8_t>(rng.next() % 13);
        const auto m = static_cast<std::int8_t>(rng.next() % 13);
        mix.push_back(goodCall(p[0], p[1], p[2], cls, n, cls, m, n, m));
    }
    const double extremes[][3] = {{0.0, 0.0, 0.0},      {-0.0, 0.0, -0.0},   {INF, 1e7, 1e7},
                                  {1e7, -INF, 0.0},     {NaN, 1e7, 1e7},     {1e154, 1e154, 1e154},
                                  {1.3e154, 0.0, 0.0},  {1e-160, 1e-160, 1e-160}, {5e-324, 7e6, -5e-324},
                                  {1e-150, 0.0, 0.0},   {-1e300, 1e300, 0.0}, {1e-10, 1e-10, 1e-10}};
    for (const auto& p : extremes) {
        mix.push_back(goodCall(p[0], p[1], p[2], geoharm::INT8_CLASS, 10, geoharm::INT8_CLASS, 10, 10, 10));
        mix.push_back(goodCall(p[0], p[1], p[2], geoharm::DOUBLE_CLASS, 0, geoharm::INT8_CLASS, 0, 0, 0));
    }
    {
        std::vector<Array> a;
        a.push_back(makePosition(7000000.0, 1000000.0, 2000000.0));
        a.push_back(makeScalar(geoharm::INT8_CLASS, 10));
        mix.push_back(refusedCall(std::move(a), "geoharm:nrhs"));
    }
    {
        std::vector<Array> a;
        a.push_back(makeArray(geoharm::DOUBLE_CLASS, {3, 1}, true));
        a.push_back(makeScalar(geoharm::INT8_CLASS, 10));
        a.push_back(makeScalar(geoharm::INT8_CLASS, 10));
        mix.push_back(refusedCall(std::move(a), "geoharm:position"));
    }
    {
        std::vector<Array> a;
        a.push_back(makeArray(geoharm::DOUBLE_CLASS, {2, 1}));
        a.push_back(makeScalar(geoharm::INT8_CLASS, 10));
        a.push_back(makeScalar(geoharm::INT8_CLASS, 10));
        mix.push_back(refusedCall(std::move(a), "geoharm:position"));
    }
    mix.push_back(refusedCall(withPosition(makeScalar(geoharm::CHAR_CLASS, 10), makeScalar(geoharm::INT8_CLASS, 1)),
                              "geoharm:degree"));
    mix.push_back(refusedCall(withPosition(makeScalar(geoharm::DOUBLE_CLASS, NaN), makeScalar(geoharm::INT8_CLASS, 1)),
                              "geoharm:degree"));
    mix.push_back(refusedCall(withPosition(makeScalar(geoharm::INT8_CLASS, 1), makeArray(geoharm::INT8_CLASS, {0, 0})),
                              "geoharm:order"));
    mix.push_back(refusedCall(
        withPosition(makeScalar(geoharm::INT8_CLASS, 1), makeArray(geoharm::DOUBLE_CLASS, {1, 1}, false, true)),
        "geoharm:order"));
    return mix;
}

/* VmRSS of this process in kB, from /proc/self/status; -1 if unknown. */
long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

bool sameResult(double got, double want) {
    std::uint64_t a, b;
    std::memcpy(&a, &got, sizeof a);
    std::memcpy(&b, &want, sizeof b);
    return a == b;
}

long soakCalls() {
    const char* text = std::getenv("GEOHARM_SOAK_CALLS");
    return text != nullptr ? std::strtol(text, nullptr, 10) : 1000000;
}

TEST(PluginSoak, MillionMixedCallsStayExactAndFlat) {
    const long calls = soakCalls();
    const std::vector<SoakCall> mix = makeMix();
    const long arraysBefore = geoharm::host::liveArrays();
    std::vector<std::vector<geoharm::MexPointer>> inputs;
    for (const SoakCall& c : mix) {
        std::vector<geoharm::MexPointer> h;
        for (const Array& a : c.args) h.push_back(a.handle());
        inputs.push_back(h);
    }

    long good = 0, refused = 0, wrong = 0;
    std::vector<long> rss;
    for (long i = 0; i < calls; i++) {
        /* A stride prime to the mix's size: every call, in shifting order. */
        const std::size_t k = static_cast<std::size_t>(i * 37 % static_cast<long>(mix.size()));
        const SoakCall& c = mix[k];
        {
            const geoharm::host::CallResult r = geoharm::host::callPlugin(geoharm_test::pluginUnderTest(), 1, inputs[k]);
            if (c.good) {
                const double* a = r.ok ? static_cast<const double*>(r.output.data()) : nullptr;
                const bool same = a != nullptr && sameResult(a[0], c.want[0]) && sameResult(a[1], c.want[1]) &&
                                  sameResult(a[2], c.want[2]);
                if (!same && wrong++ < 5) ADD_FAILURE() << "call " << i << " (mix entry " << k << ") differs";
                good++;
            } else {
                if ((r.ok || r.error.identifier != c.identifier) && wrong++ < 5)
                    ADD_FAILURE() << "call " << i << " (mix entry " << k << ") not refused as " << c.identifier;
                refused++;
            }
        }
        if ((i + 1) % CHECKPOINT == 0) {
            rss.push_back(residentKb());
            EXPECT_EQ(geoharm::host::liveArrays(), arraysBefore) << "after " << i + 1 << " calls";
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(geoharm::host::liveArrays(), arraysBefore);

    std::string trail;
    for (long kb : rss) trail += " " + std::to_string(kb);
    std::printf("soak: %ld calls, %ld good (bits checked), %ld refused, %ld wrong; VmRSS kB per %ld calls:%s\n",
                calls, good, refused, wrong, CHECKPOINT, trail.c_str());
    if (rss.size() >= 3) {
        /* After the first checkpoint (warm-up) the resident set may not grow. */
        long top = rss[0];
        for (long kb : rss) top = kb > top ? kb : top;
        EXPECT_GT(rss[0], 0);
        EXPECT_LE(top - rss[0], RSS_GROWTH_LIMIT_KB) << "resident set grew after warm-up:" << trail;
    }
}

}  // namespace
