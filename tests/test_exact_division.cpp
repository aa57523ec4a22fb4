// The exact division by a small integer of the routines built with FMA
// (exactQuotient and laneDivide, lane_divide.h) against the divider, bit
// for bit, for every divisor 2..15 (the recursion divides by 2..11): on
// both sides of every edge of the excluded ranges (2^-1018, the normal and
// subnormal limits, the largest double), on every power of two and its
// neighbours, on values whose quotient lies next to a rounding boundary,
// on signed zeros, subnormals, infinities and NaN, and on random bit
// patterns over the whole exponent range: 2^20 per divisor and routine by
// default, GEOHARM_DIVISION_SAMPLES for more (e.g. 10000000).  Each routine
// runs in the instruction set it is built for, and is skipped where the
// processor lacks it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bits.h"
#include "exact_division_lanes.h"
#include "machine/simd_level.h"
#include "kernels/lane_divide.h"

using geoharm::SimdLevel;
using geoharm_test::bitsOf;
using geoharm_test::describe;

namespace {

double fromBits(std::uint64_t b) {
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

/* The quotient the divider gives (volatile: divided at run time). */
double divider(double a, int d) {
    volatile double dv = d;
    return a / dv;
}

/* One way of dividing an array by d (count a multiple of 8); the pairs
   form divides the lanes 2, 3 of each register by the partner divisor. */
struct Routine {
    const char* name;
    SimdLevel level;
    void (*lanes)(const double*, std::size_t, int, double*);
    bool pairs;
};

void PrintTo(const Routine& r, std::ostream* os) { *os << r.name; }

const Routine ROUTINES[] = {
    {"avx2_fma_lanes", SimdLevel::AVX2_FMA, geoharm_test::divideLanesAvx2Fma, false},
    {"avx2_fma_pairs", SimdLevel::AVX2_FMA, nullptr, true},
    {"avx512_lanes", SimdLevel::AVX512F_FMA, geoharm_test::divideLanesAvx512, false},
};

/* The divisor beside d in the single-point routine's registers (k-j and
   k-j-1 there). */
int partnerOf(int d) { return d == 2 ? 3 : d - 1; }

/* The values divided, by kind, for the messages. */
struct ValueSet {
    std::string name;
    std::vector<double> values;
};

void addBothSigns(std::vector<double>& v, double x) {
    v.push_back(x);
    v.push_back(-x);
}

/* Both sides of every edge: each edge and its three neighbours below and
   above. */
ValueSet edges() {
    ValueSet s{"edges of the excluded ranges", {}};
    const double edges[] = {std::ldexp(1.0, -1074), std::ldexp(1.0, -1023), DBL_MIN, std::ldexp(1.0, -1019),
                            std::ldexp(1.0, -1018), std::ldexp(1.0, -1017), std::ldexp(15.0, -1018),
                            std::ldexp(16.0, -1018), 1.0, std::ldexp(1.0, 1023), DBL_MAX};
    for (double e : edges) {
        double below = e, above = e;
        addBothSigns(s.values, e);
        for (int k = 0; k < 3; k++) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, INFINITY);
            addBothSigns(s.values, below);
            addBothSigns(s.values, above);
        }
    }
    return s;
}

/* Every power of two, subnormal ones included, and its neighbours. */
ValueSet powersOfTwo() {
    ValueSet s{"powers of two and their neighbours", {}};
    for (int e = -1074; e <= 1023; e++) {
        const double p = std::ldexp(1.0, e);
        addBothSigns(s.values, p);
        addBothSigns(s.values, std::nextafter(p, 0.0));
        addBothSigns(s.values, std::nextafter(p, INFINITY));
    }
    return s;
}

/* Signed zeros, subnormals, infinities, NaN (quiet and signalling, both
   signs, with a payload). */
ValueSet unusualValues() {
    ValueSet s{"zeros, subnormals, infinities, NaN", {}};
    addBothSigns(s.values, 0.0);
    addBothSigns(s.values, INFINITY);
    for (double v : {5e-324, 1e-310, 2.2250738585072009e-308, 3e-320}) addBothSigns(s.values, v);
    for (std::uint64_t b : {0x7FF8000000000000ull, 0xFFF8000000000000ull, 0x7FF80000DEADBEEFull,
                            0x7FF0000000000001ull, 0xFFF4000000000000ull})
        s.values.push_back(fromBits(b));
    return s;
}

/* Values a whose quotient a/d lies next to a midpoint between two doubles
   (where a quotient one unit off in the last place would round the other
   way): a = RN(d m) for midpoints m = (2M+1) 2^(E-1), and its neighbours;
   E over the normal range. */
ValueSet nearMidpoints(int d, std::mt19937_64& rng, std::size_t count) {
    ValueSet s{"quotients next to a rounding boundary", {}};
    std::uniform_int_distribution<std::uint64_t> significand(1ull << 52, (1ull << 53) - 1);
    std::uniform_int_distribution<int> exponent(-1000, 1000);
    for (std::size_t i = 0; i < count; i++) {
        const std::uint64_t odd = 2 * significand(rng) + 1; /* (2M+1) < 2^54; times d < 2^58 */
        double a = std::ldexp(static_cast<double>(odd * static_cast<std::uint64_t>(d)), exponent(rng) - 53);
        for (int k = 0; k < 2; k++) a = std::nextafter(a, 0.0);
        for (int k = 0; k < 5; k++, a = std::nextafter(a, INFINITY)) addBothSigns(s.values, a);
    }
    return s;
}

/* Random bit patterns: every exponent equally likely (subnormals,
   infinities and NaN among them). */
ValueSet randomPatterns(std::mt19937_64& rng, std::size_t count) {
    ValueSet s{"random bit patterns", {}};
    for (std::size_t i = 0; i < count; i++) s.values.push_back(fromBits(rng()));
    return s;
}

std::size_t randomCount() {
    const char* text = std::getenv("GEOHARM_DIVISION_SAMPLES");
    if (text != nullptr && *text != '\0') {
        char* end = nullptr;
        const unsigned long long n = std::strtoull(text, &end, 10);
        if (*end == '\0' && n > 0) return static_cast<std::size_t>(n);
    }
    return std::size_t{1} << 20;
}

/* The values of `set` through `routine` against the divider; counts the
   differing quotients and describes the first few. */
void compare(const Routine& routine, int d, const ValueSet& set, int unused, long& bad, std::string& report) {
    std::vector<double> a = set.values;
    while (a.size() % 8 != 0) a.push_back(1.0);
    /* The pairs form: lanes in `unused` get +0 or -0, which its range test
       would send to the divider, and are not compared. */
    if (unused != 0)
        for (std::size_t i = 0; i < a.size(); i++)
            if ((unused >> (i % 4)) & 1) a[i] = (i / 4) % 2 == 0 ? 0.0 : -0.0;
    std::vector<double> q(a.size());
    if (routine.pairs)
        geoharm_test::dividePairsAvx2Fma(a.data(), a.size(), d, partnerOf(d), unused, q.data());
    else
        routine.lanes(a.data(), a.size(), d, q.data());
    for (std::size_t i = 0; i < a.size(); i++) {
        if ((unused >> (i % 4)) & 1) continue;
        const int divisor = routine.pairs && i % 4 >= 2 ? partnerOf(d) : d;
        const double want = divider(a[i], divisor);
        if (bitsOf(q[i]) == bitsOf(want)) continue;
        if (bad++ < 8)
            report += set.name + ": " + describe(a[i]) + " / " + std::to_string(divisor) + " = " + describe(q[i]) +
                      ", the divider gives " + describe(want) + "\n";
    }
}

class ExactDivision : public ::testing::TestWithParam<Routine> {
  protected:
    void SetUp() override {
        if (!geoharm::processorRuns(GetParam().level))
            GTEST_SKIP() << "this processor does not run the " << GetParam().name
                         << " routine (it needs AVX2 or AVX-512F, and FMA)";
    }
};

}  // namespace

TEST(ExactDivision, ReciprocalsAreTheRoundedQuotients) {
    /* y = RN(1/d), on which the argument rests: the compiler's constant
       against the processor's division. */
    for (int d = 2; d <= geoharm::MAX_EXACT_DIVISOR; d++) {
        volatile double one = 1.0;
        EXPECT_EQ(bitsOf(geoharm::RECIPROCALS[d]), bitsOf(one / d)) << "d = " << d;
    }
}

TEST_P(ExactDivision, SameBitsAsTheDivider) {
    const std::size_t samples = randomCount();
    const std::vector<ValueSet> common = {edges(), powersOfTwo(), unusualValues()};
    long bad = 0;
    std::string report;
    for (int d = 2; d <= geoharm::MAX_EXACT_DIVISOR; d++) {
        std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(d));
        std::vector<ValueSet> sets = common;
        sets.push_back(nearMidpoints(d, rng, samples / 16));
        sets.push_back(randomPatterns(rng, samples));
        for (const ValueSet& set : sets) {
            compare(GetParam(), d, set, 0, bad, report);
            /* The single-point form with its unused lane (W(k,0)). */
            if (GetParam().pairs) compare(GetParam(), d, set, 0x2, bad, report);
        }
    }
    EXPECT_EQ(bad, 0) << report;
}

INSTANTIATE_TEST_SUITE_P(Routines, ExactDivision, ::testing::ValuesIn(ROUTINES),
                         [](const ::testing::TestParamInfo<Routine>& r) { return std::string(r.param.name); });
