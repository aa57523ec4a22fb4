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

/* The same bits, or NaN both: a result's NaN has no specified sign, and the
   sign may differ with the order of a commutative operation's operands. */
inline ::testing::AssertionResult sameResult(const char* ea, const char* eb, double a, double b) {
    if (a != a && b != b) return ::testing::AssertionSuccess();
    return sameBits(ea, eb, a, b);
}

}  // namespace geoharm_test

#define EXPECT_SAME_RESULT(a, b) EXPECT_PRED_FORMAT2(::geoharm_test::sameResult, a, b)
#define EXPECT_SAME_BITS(a, b) EXPECT_PRED_FORMAT2(::geoharm_test::sameBits, a, b)
#define ASSERT_SAME_BITS(a, b) ASSERT_PRED_FORMAT2(::geoharm_test::sameBits, a, b)

#endif
