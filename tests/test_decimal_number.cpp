/*
 * test_decimal_number.cpp - the model files' number reader: correctly
 * rounded (the expected bits are glibc strtod's, an independent correctly
 * rounded reader), its syntax, its range.  The hard cases run on every
 * build: the 32-bit Windows build's std::from_chars gets the first four
 * wrong (x87 double rounding), which is why the reader has its own.
 */
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bits.h"
#include "models/decimal_number.h"

using geoharm::NumberStatus;
using geoharm::parseDecimal;
using geoharm_test::bitsOf;

namespace {

NumberStatus parse(const std::string& text, double* value) {
    return parseDecimal(text.data(), text.data() + text.size(), value);
}

struct HardCase {
    const char* text;
    std::uint64_t bits;
};

TEST(DecimalNumber, HardCasesRoundCorrectly) {
    const HardCase cases[] = {
        /* w 10^22 where rounding the product first to 64 bits, then to
           53, is wrong */
        {"1777291912180263e22", 0x47AABDE12223983Du},
        {"6078563039558711e22", 0x47C6DD717B58A9D7u},
        {"3601030726688261e22", 0x47BB17553967CAB3u},
        {"8470201830721813e22", 0x47CFDC81F6AFE13Bu},
        /* ties: to even, and just above a tie */
        {"9007199254740993", 0x4340000000000000u},
        {"9007199254740995", 0x4340000000000002u},
        {"9007199254740993.000000000000000000000000000000000001", 0x4340000000000001u},
        {"9.007199254740993e15", 0x4340000000000000u},
        {"1.00000000000000011102230246251565404236316680908203125", 0x3FF0000000000000u},
        {"1.00000000000000011102230246251565404236316680908203124", 0x3FF0000000000000u},
        {"1.00000000000000011102230246251565404236316680908203126", 0x3FF0000000000001u},
        /* subnormals and the ends of the range */
        {"4.9406564584124654e-324", 0x0000000000000001u},
        {"2.4703282292062327e-324", 0x0000000000000000u},
        {"2.4703282292062328e-324", 0x0000000000000001u},
        {"2.2250738585072011e-308", 0x000FFFFFFFFFFFFFu},
        {"2.2250738585072012e-308", 0x0010000000000000u},
        {"4.4501477170144023e-308", 0x001FFFFFFFFFFFFFu},
        {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFFu},
        {"1.7976931348623158e+308", 0x7FEFFFFFFFFFFFFFu},
        {"8.98846567431158e307", 0x7FE0000000000000u},
        /* ordinary numbers, many digits, leading zeros */
        {"1e23", 0x44B52D02C7E14AF6u},
        {"8.589973e9", 0x42000004B0400000u},
        {"0.1", 0x3FB999999999999Au},
        {"-0.484165143790815E-03", 0xBF3FBAF1755CA18Eu},
        {"-0.484165143790815D-03", 0xBF3FBAF1755CA18Eu},
        {"2.0304620104699999e-06", 0x3EC108624B8DF0EDu},
        {"123456789012345678901234567890e-40", 0x3DAB25FFD636EC12u},
        {"7.038531e-26", 0x3AB5C87FB0000000u},
        {"0.000000000000000000000000000000000001e36", 0x3FF0000000000000u},
    };
    for (const HardCase& c : cases) {
        double value = 0.0;
        ASSERT_EQ(parse(c.text, &value), NumberStatus::Ok) << c.text;
        EXPECT_SAME_BITS(value, geoharm_test::doubleOf(c.bits)) << c.text;
    }
}

/* Past 800 significant digits the reader keeps only whether any digit is
   not zero: enough to tell a tie from a number just above it. */
TEST(DecimalNumber, LongTailsDecideTies) {
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    const std::string zeros(2000, '0');
    double value = 0.0;
    ASSERT_EQ(parse(tie + zeros, &value), NumberStatus::Ok);
    EXPECT_EQ(bitsOf(value), 0x3FF0000000000000u);
    ASSERT_EQ(parse(tie + zeros + "1", &value), NumberStatus::Ok);
    EXPECT_EQ(bitsOf(value), 0x3FF0000000000001u);
    ASSERT_EQ(parse("0." + zeros + "1" + tie.substr(2) + "e2001", &value), NumberStatus::Ok);
    EXPECT_EQ(bitsOf(value), 0x3FF0000000000000u);
}

TEST(DecimalNumber, SyntaxOfModelFiles) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {".5", 0.5},     {"5.", 5.0},      {"+1", 1.0},       {"-.25D+1", -2.5}, {"1d-3", 1e-3},
        {"1E+3", 1e3},   {"007.500", 7.5}, {"0.0", 0.0},      {"1e-400", 0.0},   {"00000000000000000000001", 1.0},
        {"-0", -0.0},    {"-0.0e5", -0.0}, {"-1e-400", -0.0}, {"2e0", 2.0},      {"1e0000000000000000000003", 1e3},
    };
    for (const auto& c : cases) {
        double value = 1.0;
        ASSERT_EQ(parse(c.text, &value), NumberStatus::Ok) << c.text;
        EXPECT_SAME_BITS(value, c.value) << c.text;
    }
}

TEST(DecimalNumber, OtherTextIsRefused) {
    const char* malformed[] = {"",     "+",   "-",   ".",   "e5",   "1e",    "1e+",  "1.2.3", "1,5", "0x10",
                               "inf",  "nan", " 1",  "1 ",  "1e5x", "--1",   "1d",   "+-1",   "1e5.", "1f",
                               "1_0",  ".e1", "1e.", "D3",  "1\t",  "١",     "1e--1"};
    for (const char* text : malformed) {
        double value = 7.0;
        EXPECT_EQ(parse(text, &value), NumberStatus::Malformed) << "'" << text << "'";
        EXPECT_EQ(value, 7.0) << text;
    }
    double value = 0.0;
    std::string withNul("1\0" "5", 3);
    EXPECT_EQ(parse(withNul, &value), NumberStatus::Malformed);
    const char* beyond[] = {"1.7976931348623159e308", "1e309", "-1e400", "1e99999999999999999999", "179769313486232e294"};
    for (const char* text : beyond) EXPECT_EQ(parse(text, &value), NumberStatus::OutOfRange) << text;
}

/* Random numbers of 1 to 40 digits over the whole range, and numbers
   near the midpoints between doubles cut at 15 to 40 digits, against
   glibc's strtod (Linux builds: the Windows C libraries' are not known to
   round correctly). */
TEST(DecimalNumber, AgreesWithStrtod) {
#ifdef _WIN32
    GTEST_SKIP() << "strtod is the reference on Linux only";
#else
    std::mt19937_64 random(2024);
    auto check = [](const std::string& text) {
        double value = 0.0, expected = std::strtod(text.c_str(), nullptr);
        if (expected - expected != 0.0) {
            EXPECT_EQ(parse(text, &value), NumberStatus::OutOfRange) << text;
            return;
        }
        ASSERT_EQ(parse(text, &value), NumberStatus::Ok) << text;
        ASSERT_SAME_BITS(value, expected) << text;
    };
    for (int i = 0; i < 200000; i++) {
        std::string text = random() % 2 ? "-" : "";
        int digits = 1 + static_cast<int>(random() % 40), point = static_cast<int>(random() % (digits + 1));
        for (int k = 0; k < digits; k++) text += (k == point ? "." : "") + std::to_string(random() % 10);
        check(text + "e" + std::to_string(static_cast<int>(random() % 700) - 350));
    }
    for (int i = 0; i < 20000; i++) {
        std::uint64_t mantissa = (random() >> 11) | (std::uint64_t{1} << 52);
        int exponent = static_cast<int>(random() % 2100) - 1100;
        char text[128];
        std::snprintf(text, sizeof text, "%.45Le", std::ldexp(static_cast<long double>(2 * mantissa + 1), exponent));
        std::string all = text, digits = all.substr(0, all.find('e')), power = all.substr(all.find('e'));
        for (std::size_t cut = 16; cut <= digits.size(); cut += 3) check(digits.substr(0, cut) + power);
    }
#endif
}

}  // namespace
