/*
 * bits.h - comparing doubles by bit pattern in tests.
 */
#ifndef GEOHARM_TESTS_BITS_H
#define GEOHARM_TESTS_BITS_H

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace geoharm_test {

inline std::uint64_t bitsOf(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline double doubleOf(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

/* "%.17g (0x...)": the value and its bits, for failure messages. */
inline std::string describe(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g (0x%016" PRIX64 ")", v, bitsOf(v));
    return buf;
}

inline ::testing::AssertionResult sameBits(const char* ea, const char* eb, double a, double b) {
    if (bitsOf(a) == bitsOf(b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ea << " = " << describe(a) << "\n"
                                         << eb << " = " << describe(b) << "\n(bit patterns differ)";
}

/* Whether v is the default quiet NaN 0x7FF8000000000000: every NaN an
   entry point returns is that one. */
inline bool isDefaultNan(double v) { return bitsOf(v) == 0x7FF8000000000000u; }

}  // namespace geoharm_test

#define EXPECT_SAME_BITS(a, b) EXPECT_PRED_FORMAT2(::geoharm_test::sameBits, a, b)
#define ASSERT_SAME_BITS(a, b) ASSERT_PRED_FORMAT2(::geoharm_test::sameBits, a, b)

#endif
