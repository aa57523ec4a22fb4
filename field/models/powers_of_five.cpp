/*
 * powers_of_five.cpp - the table of powers_of_five.h, computed at compile
 * time with exact integers.
 *
 *   q >= 0:  5^q by repeated multiplication by 5, then its leading 128
 *            bits (the bits below are dropped: floor).
 *   q < 0:   X_k = floor(2^1100 / 5^k) by repeated division by 5, exact
 *            at each step since floor(floor(a) / 5) = floor(a / 5); then
 *            X_k's leading 128 bits, again a floor.  5^342 < 2^795, so
 *            X_342 still has more than 300 bits.
 */
#include "models/powers_of_five.h"

namespace geoharm {
namespace {

/* An unsigned integer of up to 35 32-bit limbs (1120 bits), least
   significant limb first: enough for 2^1100 and for 5^308 (< 2^716). */
constexpr int TABLE_LIMBS = 35;
constexpr int SCALE_BITS = 1100;

struct TableInteger {
    std::uint32_t limb[TABLE_LIMBS] = {};
};

constexpr int bitLength(const TableInteger& x) {
    for (int i = TABLE_LIMBS - 1; i >= 0; i--) {
        if (x.limb[i] != 0) {
            int bits = 0;
            for (std::uint32_t v = x.limb[i]; v != 0; v >>= 1) bits++;
            return 32 * i + bits;
        }
    }
    return 0;
}

/* Bit `index` of x (0 beyond its limbs). */
constexpr std::uint64_t bitAt(const TableInteger& x, int index) {
    if (index < 0 || index >= 32 * TABLE_LIMBS) return 0;
    return (x.limb[index / 32] >> (index % 32)) & 1u;
}

constexpr void multiplyByFive(TableInteger& x) {
    std::uint64_t carry = 0;
    for (int i = 0; i < TABLE_LIMBS; i++) {
        std::uint64_t v = std::uint64_t{x.limb[i]} * 5u + carry;
        x.limb[i] = static_cast<std::uint32_t>(v);
        carry = v >> 32;
    }
}

constexpr void divideByFive(TableInteger& x) {
    std::uint64_t remainder = 0;
    for (int i = TABLE_LIMBS - 1; i >= 0; i--) {
        std::uint64_t v = (remainder << 32) | x.limb[i];
        x.limb[i] = static_cast<std::uint32_t>(v / 5u);
        remainder = v % 5u;
    }
}

/* The leading 128 bits of x as (hi, lo), and the weight of their last
   bit: x = (hi 2^64 + lo) 2^shift + (bits dropped), shift possibly
   negative (then x is shifted left, exactly). */
constexpr PowerOfFive leadingBits(const TableInteger& x, int extraExponent) {
    int shift = bitLength(x) - 128;
    PowerOfFive p{0, 0, 0};
    for (int b = 127; b >= 64; b--) p.hi = (p.hi << 1) | bitAt(x, b + shift);
    for (int b = 63; b >= 0; b--) p.lo = (p.lo << 1) | bitAt(x, b + shift);
    p.exp2 = shift + extraExponent;
    return p;
}

constexpr PowersOfFive makePowersOfFive() {
    PowersOfFive table{};
    TableInteger power{};
    power.limb[0] = 1;
    for (int q = 0; q <= MAX_POWER_OF_FIVE; q++) {
        table.entry[q - MIN_POWER_OF_FIVE] = leadingBits(power, 0);
        multiplyByFive(power);
    }
    TableInteger inverse{};
    inverse.limb[SCALE_BITS / 32] = std::uint32_t{1} << (SCALE_BITS % 32);
    for (int k = 1; k <= -MIN_POWER_OF_FIVE; k++) {
        divideByFive(inverse);
        table.entry[-k - MIN_POWER_OF_FIVE] = leadingBits(inverse, -SCALE_BITS);
    }
    return table;
}

}  // namespace

constexpr PowersOfFive POWERS_OF_FIVE = makePowersOfFive();

/* Spot checks of the construction: 5^0, 5^1, 5^27 (the largest below
   2^63), 5^-1 = 0.2 = 0xCCCC...CCCC 2^-130 (truncated). */
static_assert(POWERS_OF_FIVE.entry[0 - MIN_POWER_OF_FIVE].hi == 0x8000000000000000u &&
                  POWERS_OF_FIVE.entry[0 - MIN_POWER_OF_FIVE].lo == 0 &&
                  POWERS_OF_FIVE.entry[0 - MIN_POWER_OF_FIVE].exp2 == -127,
              "5^0");
static_assert(POWERS_OF_FIVE.entry[1 - MIN_POWER_OF_FIVE].hi == 0xA000000000000000u &&
                  POWERS_OF_FIVE.entry[1 - MIN_POWER_OF_FIVE].exp2 == -125,
              "5^1");
static_assert(POWERS_OF_FIVE.entry[27 - MIN_POWER_OF_FIVE].hi == 7450580596923828125u << 1 &&
                  POWERS_OF_FIVE.entry[27 - MIN_POWER_OF_FIVE].lo == 0,
              "5^27");
static_assert(POWERS_OF_FIVE.entry[-1 - MIN_POWER_OF_FIVE].hi == 0xCCCCCCCCCCCCCCCCu &&
                  POWERS_OF_FIVE.entry[-1 - MIN_POWER_OF_FIVE].lo == 0xCCCCCCCCCCCCCCCCu &&
                  POWERS_OF_FIVE.entry[-1 - MIN_POWER_OF_FIVE].exp2 == -130,
              "5^-1");

}  // namespace geoharm
