// Two threads calling the plug-in at once get the same bits as one thread
// calling it alone: the plug-in keeps nothing between calls and shares no
// working storage.  Inputs vary in position, limits and class, and some
// calls end in an error (each thread has its own unwinding).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "plugin_under_test.h"
#include "random_points.h"

namespace {

using geoharm::MexInt;
using geoharm::host::Array;
using geoharm::host::makePosition;
using geoharm::host::makeScalar;

constexpr int DISTINCT_INPUTS = 1000;
/* Calls per thread: 100000, or GEOHARM_THREAD_CALLS (smaller under valgrind). */
int callsPerThread() {
    const char* text = std::getenv("GEOHARM_THREAD_CALLS");
    return text != nullptr ? std::atoi(text) : 100000;
}

struct Input {
    Array position, n, m;
};

/* What one call gave: its three doubles' bits, or an error. */
struct Outcome {
    bool ok;
    std::uint64_t bits[3];
    bool operator==(const Outcome& o) const {
        return ok == o.ok && std::memcmp(bits, o.bits, sizeof bits) == 0;
    }
};

/* Deterministic varied inputs: shells from below the surface to beyond GEO, every
   direction, N and M from -3 to 13 in several classes, a NaN limit now and then. */
std::vector<Input> makeInputs() {
    const MexInt classes[] = {geoharm::INT8_CLASS,  geoharm::DOUBLE_CLASS, geoharm::INT16_CLASS,
                              geoharm::UINT8_CLASS, geoharm::SINGLE_CLASS, geoharm::INT8_CLASS};
    geoharm_test::XorShift rng{0x9E3779B97F4A7C15ull};
    std::vector<Input> inputs;
    for (int i = 0; i < DISTINCT_INPUTS; i++) {
        double p[3];
        geoharm_test::randomPoint(rng, 6.0e6, 4.0e7, p);
        const MexInt cls = classes[rng.next() % 6];
        const double n = static_cast<double>(rng.next() % 17) - 3.0;
        const double m =
            i % 50 == 7 ? std::numeric_limits<double>::quiet_NaN() : static_cast<double>(rng.next() % 17) - 3.0;
        inputs.push_back({makePosition(p[0], p[1], p[2]), makeScalar(cls, n),
                          makeScalar(i % 50 == 7 ? geoharm::DOUBLE_CLASS : cls, m)});
    }
    return inputs;
}

Outcome callOnce(const Input& in) {
    const auto r = geoharm_test::callWith({&in.position, &in.n, &in.m});
    Outcome o{r.ok, {0, 0, 0}};
    if (r.ok) std::memcpy(o.bits, r.output.data(), sizeof o.bits);
    return o;
}

TEST(PluginThreads, TwoThreadsGiveTheBitsOfOne) {
    const long before = geoharm::host::liveArrays();
    {
        const std::vector<Input> inputs = makeInputs();
        std::vector<Outcome> alone;
        for (const Input& in : inputs) alone.push_back(callOnce(in));

        // The threads walk the inputs in different orders, so they work on
        // different points at the same moment.
        long mismatches[2] = {0, 0};
        const int calls = callsPerThread();
        auto worker = [&](int t) {
            for (int i = 0; i < calls; i++) {
                const int k = t == 0 ? i % DISTINCT_INPUTS : (7 * i + 3) % DISTINCT_INPUTS;
                if (!(callOnce(inputs[static_cast<std::size_t>(k)]) == alone[static_cast<std::size_t>(k)]))
                    mismatches[t]++;
            }
        };
        std::thread a(worker, 0);
        std::thread b(worker, 1);
        a.join();
        b.join();
        EXPECT_EQ(mismatches[0], 0);
        EXPECT_EQ(mismatches[1], 0);

        // The inputs do include refused calls and good ones.
        long refused = 0;
        for (const Outcome& o : alone) refused += o.ok ? 0 : 1;
        EXPECT_EQ(refused, DISTINCT_INPUTS / 50);
    }
    EXPECT_EQ(geoharm::host::liveArrays(), before);
}

}  // namespace
