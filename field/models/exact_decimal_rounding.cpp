/*
 * exact_decimal_rounding.cpp - a decimal number rounded to a double with
 * exact big-integer arithmetic (the decimal reader's slow path).
 *
 * With D the digits as an integer and e their exponent, the value is
 * A / B with A = D 10^max(e,0) and B = 10^max(-e,0).  Then
 *
 *   1. E = floor(log2(A/B)) from the bit lengths and one comparison;
 *   2. u = max(E - 52, -1074), the weight of the double's last bit
 *      (the subnormals' at the bottom);
 *   3. Q = floor(A 2^(1-u) / B) by restoring division: Q < 2^54 holds the
 *      53 bits kept and the rounding bit below them, the remainder tells
 *      whether anything lies below that bit;
 *   4. round to nearest, ties to even, and assemble the bits.
 *
 * Sizes: the caller's magnitude checks leave at most 801 digits (< 2^2661)
 * and B <= 10^1124 (< 2^3734); A 2^(1-u) stays below 2^3736 and the
 * divisor shifted for the division below 2^3788, inside the 4096 bits of
 * an integer here.
 */
#include "models/exact_decimal_rounding.h"

namespace geoharm {
namespace {

constexpr int LIMBS = 128;

/* A non-negative integer, least significant 32-bit limb first; `size`
   limbs are in use (the top one not zero, size 0 for zero). */
struct BigNumber {
    std::uint32_t limb[LIMBS];
    int size;
};

void setSmall(BigNumber& x, std::uint32_t v) {
    x.size = v != 0 ? 1 : 0;
    x.limb[0] = v;
}

/* x = x * factor + addend.  A carry beyond LIMBS limbs is dropped: the
   sizes above never reach it. */
void multiplyAdd(BigNumber& x, std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (int i = 0; i < x.size; i++) {
        std::uint64_t v = std::uint64_t{x.limb[i]} * factor + carry;
        x.limb[i] = static_cast<std::uint32_t>(v);
        carry = v >> 32;
    }
    if (carry != 0 && x.size < LIMBS) x.limb[x.size++] = static_cast<std::uint32_t>(carry);
}

/* x = x * 10^k. */
void multiplyByPowerOfTen(BigNumber& x, long long k) {
    for (; k >= 9; k -= 9) multiplyAdd(x, 1000000000u, 0);
    std::uint32_t rest = 1;
    for (; k > 0; k--) rest *= 10u;
    multiplyAdd(x, rest, 0);
}

int bitLength(const BigNumber& x) {
    if (x.size == 0) return 0;
    int bits = 0;
    for (std::uint32_t v = x.limb[x.size - 1]; v != 0; v >>= 1) bits++;
    return 32 * (x.size - 1) + bits;
}

/* x = x * 2^bits (bits >= 0). */
void shiftLeft(BigNumber& x, int bits) {
    if (x.size == 0 || bits == 0) return;
    int limbs = bits / 32, rest = bits % 32;
    int newSize = x.size + limbs + 1;
    if (newSize > LIMBS) newSize = LIMBS;
    for (int i = newSize - 1; i >= 0; i--) {
        int from = i - limbs;
        std::uint32_t high = from >= 0 && from < x.size ? x.limb[from] : 0u;
        std::uint32_t low = from - 1 >= 0 && from - 1 < x.size ? x.limb[from - 1] : 0u;
        x.limb[i] = rest == 0 ? high : (high << rest) | (low >> (32 - rest));
    }
    x.size = newSize;
    while (x.size > 0 && x.limb[x.size - 1] == 0) x.size--;
}

/* x = floor(x / 2). */
void halve(BigNumber& x) {
    for (int i = 0; i < x.size; i++) {
        std::uint32_t next = i + 1 < x.size ? x.limb[i + 1] : 0u;
        x.limb[i] = (x.limb[i] >> 1) | (next << 31);
    }
    while (x.size > 0 && x.limb[x.size - 1] == 0) x.size--;
}

int compare(const BigNumber& a, const BigNumber& b) {
    if (a.size != b.size) return a.size < b.size ? -1 : 1;
    for (int i = a.size - 1; i >= 0; i--)
        if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
}

/* a = a - b, for a >= b. */
void subtract(BigNumber& a, const BigNumber& b) {
    std::uint32_t borrow = 0;
    for (int i = 0; i < a.size; i++) {
        std::uint64_t sub = std::uint64_t{i < b.size ? b.limb[i] : 0u} + borrow;
        borrow = std::uint64_t{a.limb[i]} < sub ? 1u : 0u;
        a.limb[i] = static_cast<std::uint32_t>(std::uint64_t{a.limb[i]} - sub);
    }
    while (a.size > 0 && a.limb[a.size - 1] == 0) a.size--;
}

/* Whether a >= b 2^shift (shift may be negative: a 2^-shift >= b). */
bool atLeastScaled(const BigNumber& a, const BigNumber& b, int shift) {
    BigNumber left = a, right = b;
    if (shift >= 0)
        shiftLeft(right, shift);
    else
        shiftLeft(left, -shift);
    return compare(left, right) >= 0;
}

}  // namespace

void roundDecimalExactly(const char* first, const char* end, long long exponent, std::uint64_t* bits) {
    /* D from its first EXACT_DIGITS digits, 9 at a time; the exponent
       moves up by one for each digit left out, and a last digit 1 stands
       for any that is not zero. */
    BigNumber a;
    setSmall(a, 0);
    int taken = 0, pending = 0;
    std::uint32_t chunk = 0, chunkScale = 1;
    long long dropped = 0;
    bool droppedNonZero = false;
    long long allDigits = 0;
    for (const char* p = first; p < end; p++) {
        if (*p == '.') continue;
        allDigits++;
        if (taken == EXACT_DIGITS) {
            dropped++;
            if (*p != '0') droppedNonZero = true;
            continue;
        }
        chunk = chunk * 10u + static_cast<std::uint32_t>(*p - '0');
        chunkScale *= 10u;
        taken++;
        if (++pending == 9) {
            multiplyAdd(a, chunkScale, chunk);
            chunk = 0, chunkScale = 1, pending = 0;
        }
    }
    if (droppedNonZero) {
        chunk = chunk * 10u + 1u;
        chunkScale *= 10u;
        dropped--;
    }
    if (chunkScale > 1) multiplyAdd(a, chunkScale, chunk);
    long long e = exponent + dropped;

    /* Magnitude first: the leading digit's power of ten. */
    long long leading = exponent + allDigits - 1;
    if (leading > 308) {
        *bits = 0x7FF0000000000000u;
        return;
    }
    if (leading < -324) {
        *bits = 0;
        return;
    }

    BigNumber b;
    setSmall(b, 1);
    if (e >= 0)
        multiplyByPowerOfTen(a, e);
    else
        multiplyByPowerOfTen(b, -e);

    /* 1. E = floor(log2(A/B)). */
    int d = bitLength(a) - bitLength(b);
    int binaryExponent = atLeastScaled(a, b, d) ? d : d - 1;

    /* 2-3. Q = floor(A 2^(1-u) / B), 54 bits at most. */
    int u = binaryExponent - 52 < -1074 ? -1074 : binaryExponent - 52;
    if (1 - u >= 0)
        shiftLeft(a, 1 - u);
    else
        shiftLeft(b, u - 1);
    shiftLeft(b, 53);
    std::uint64_t quotient = 0;
    for (int i = 53; i >= 0; i--) {
        if (compare(a, b) >= 0) {
            subtract(a, b);
            quotient |= std::uint64_t{1} << i;
        }
        halve(b);
    }
    bool below = a.size != 0;

    /* 4. Nearest, ties to even. */
    std::uint64_t mantissa = quotient >> 1;
    if ((quotient & 1u) != 0 && (below || (mantissa & 1u) != 0)) mantissa++;
    if (mantissa == std::uint64_t{1} << 53) {
        mantissa >>= 1;
        u++;
    }
    if (mantissa < std::uint64_t{1} << 52) {
        /* Subnormal (u = -1074), or the smallest normal reached by
           rounding up, whose bits are the same sum. */
        *bits = mantissa;
        return;
    }
    long long biased = u + 1075;
    if (biased >= 2047) {
        *bits = 0x7FF0000000000000u;
        return;
    }
    *bits = (static_cast<std::uint64_t>(biased) << 52) | (mantissa & ((std::uint64_t{1} << 52) - 1));
}

}  // namespace geoharm
