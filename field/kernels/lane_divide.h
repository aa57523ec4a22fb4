/*
 * lane_divide.h - division by a small integer d (the divisors of the
 * recursion of the harmonic functions), the divider's double every time:
 *
 *   laneDivide       t/d in every lane of a register or in one double: the
 *                    division of the lane kernels (many/) and of the
 *                    one-point routines on SSE2 pairs
 *                    (fused_harmonic_sums_sse2.cpp, pair_gradient_kernel.h)
 *   exactQuotient    a/d by fused multiply-add, for 256- and 512-bit
 *                    registers in files built with FMA (-mfma
 *                    -DGEOHARM_FMA_DIVISION: the levels avx2_fma and
 *                    avx512f_fma); elsewhere laneDivide uses the divider
 *   fmaQuotient,     exactQuotient's two halves, for the 256-bit one-point
 *   quotientInRange  routine (fused_harmonic_sums_avx.cpp: divideByPairs),
 *                    which divides the halves of a register by different d
 *                    and tests the range once per point, not per division
 *
 * The lane type L provides V (a GCC vector of doubles, whose / is the
 * lane-wise IEEE division, or a double: scalar_lane.h) and set1.
 */
#ifndef GEOHARM_LANE_DIVIDE_H
#define GEOHARM_LANE_DIVIDE_H

#include <immintrin.h>

#include "model/field_constants.h"

namespace geoharm {

/* Small integers as doubles (exact), and the inverses 2^-k of the divisors
   2, 4, 8 (exact too), indexed by the integer. */
constexpr double SMALL_INTEGERS[2 * HARMONIC_DIM] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                     13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
constexpr double INVERSE_OF_POWER_OF_TWO[9] = {0, 0, 0.5, 0, 0.25, 0, 0, 0, 0.125};

/* The divisors exactQuotient is proven for: 2..MAX_EXACT_DIVISOR. */
constexpr int MAX_EXACT_DIVISOR = 15;

/* y = RN(1/d), d = 2..15, indexed by d: the compiler's division of
   constants rounds to nearest like the processor's (a test compares them
   with the run-time quotient). */
constexpr double RECIPROCALS[MAX_EXACT_DIVISOR + 1] = {
    0.0,       1.0,       1.0 / 2,  1.0 / 3,  1.0 / 4,  1.0 / 5,  1.0 / 6,  1.0 / 7,
    1.0 / 8,   1.0 / 9,   1.0 / 10, 1.0 / 11, 1.0 / 12, 1.0 / 13, 1.0 / 14, 1.0 / 15};

/*
 * The exact division a/d by fused multiply-add (FMA builds only).
 *
 * For a double a and an integer d = 2..15, with y = RN(1/d) (RN: round to
 * nearest, ties to even), the sequence
 *
 *     q0 = RN(a y)                  (vmulpd)
 *     r  = RN(a - d q0)             (fused: -d q0 + a, rounded once)
 *     q  = RN(q0 + r y)             (fused: r y + q0, rounded once)
 *
 * gives q = RN(a/d), the double the divider gives, for every a with
 * 2^-1018 <= |a| < infinity.  Let Q = a/d (exact), 2^e <= |Q| < 2^(e+1),
 * u = ulp(Q) = 2^(e-52); as |a| >= 2^-1018 and d < 16, Q is normal.
 *
 *   q0 is near Q.  |y - 1/d| <= ulp(1/d)/2 <= 2^-53/d, so
 *     |a y - Q| <= |Q| 2^-53 < u, and q0 = RN(a y) is within 2u of Q
 *     (the rounding adds at most ulp(q0)/2 <= u).  Also |q0| >= 2^e
 *     (|a y| >= 2^e (1 - 2^-53), the midpoint below 2^e, which rounds up),
 *     so q0 is a multiple of u.
 *   The remainder is exact.  a is a multiple of u (|a| >= 2|Q|, so
 *     ulp(a) >= u), d q0 too, so a - d q0 = k u with an integer k,
 *     |k| = d |Q - q0| / u < 2d < 32: a double.  The fused operation
 *     rounds the exact a - d q0 once, to itself: r = a - d q0 = d (Q - q0).
 *   The correction lands within 2^-52 u of Q.  With d y = 1 + h,
 *     |h| <= d ulp(1/d)/2 <= 2^-53: q0 + r y = q0 + (Q - q0)(1 + h)
 *     = Q + (Q - q0) h, and |(Q - q0) h| < 2u 2^-53.
 *   No rounding boundary lies that close to Q.  Write d = 2^s d', d' odd.
 *     If d' = 1, q0 = a 2^-s exactly (a normal power-of-two scaling), r = 0
 *     and q = q0.  Otherwise |a| >= 3 2^s |Q|, so a is a multiple of
 *     2^(s+1) u; a midpoint m between neighbouring doubles within u of Q
 *     is an odd multiple of u/2 (of u/4 just below 2^e), so d m is an odd
 *     multiple of 2^s u/2 (or 2^s u/4): a - d m is not 0 and
 *     |Q - m| = |a - d m| / d >= 2^s u / (4d) = u / (4d') >= u/60.
 *   So no midpoint lies between Q and q0 + r y; rounding to nearest is
 *     monotonic, hence q = RN(q0 + r y) = RN(Q).
 *
 * Excluded, and sent through the divider: a = +-0 (q would be +0 for -0:
 * r = +0 and +0 + -0 = +0), 0 < |a| < 2^-1018 (Q may be subnormal, where u
 * no longer shrinks with Q and a quotient by an even d can be a midpoint:
 * 3 2^-1074 / 6), infinities and NaN (r = inf - inf).  Nothing overflows
 * elsewhere: |a y| <= |a|, and the fused operations form d q0 inside,
 * unrounded.  A register with any lane outside is divided by the divider
 * in every lane (its in-range lanes get the same doubles either way), so
 * the test is three integer operations on the bit patterns (and, add,
 * compare) and a branch that, for the positions of real use, always goes
 * the same way.
 */
#if defined(GEOHARM_FMA_DIVISION)

#if !defined(__FMA__)
#error "GEOHARM_FMA_DIVISION needs a file built with FMA (-mfma)"
#endif

/* The bit patterns: |a| in [2^-1018, infinity) exactly where
   bits(|a|) + OFFSET, an unsigned sum that stays below 2^63 for finite a,
   is greater than LOWEST as a signed integer (OFFSET = 2^63 - bits(inf):
   infinities and NaN reach 2^63 and up, negative as signed integers). */
constexpr long long MAGNITUDE_BITS = 0x7FFFFFFFFFFFFFFFLL;
constexpr long long RANGE_OFFSET = 0x0010000000000000LL;                    /* 2^63 - bits(inf) */
constexpr long long RANGE_LOWEST = 0x0050000000000000LL + RANGE_OFFSET - 1; /* bits(2^-1018) + ... */

/* The sequence alone: a/d in each lane whose a is in range; d holds the
   lanes' divisors (2..15, exact), y their RECIPROCALS. */
inline __attribute__((always_inline)) __m256d fmaQuotient(const __m256d a, const __m256d d, const __m256d y) {
    const __m256d q0 = _mm256_mul_pd(a, y);
    const __m256d r = _mm256_fnmadd_pd(d, q0, a);
    return _mm256_fmadd_pd(r, y, q0);
}

/* All ones in the lanes whose a is in range, zero elsewhere. */
inline __attribute__((always_inline)) __m256i quotientInRange(const __m256d a) {
    const __m256i magnitude = _mm256_and_si256(_mm256_castpd_si256(a), _mm256_set1_epi64x(MAGNITUDE_BITS));
    return _mm256_cmpgt_epi64(_mm256_add_epi64(magnitude, _mm256_set1_epi64x(RANGE_OFFSET)),
                              _mm256_set1_epi64x(RANGE_LOWEST));
}

/* a/d in each lane, the divider's double for every a.  Lanes in the bit
   mask `unused` (bit i: lane i) are left out of the range test: their
   quotient is thrown away by the caller. */
inline __attribute__((always_inline)) __m256d exactQuotient(const __m256d a, const __m256d d, const __m256d y,
                                                            const int unused = 0) {
    const __m256d q = fmaQuotient(a, d, y);
    if (__builtin_expect((_mm256_movemask_pd(_mm256_castsi256_pd(quotientInRange(a))) | unused) != 0xF, 0))
        return _mm256_div_pd(a, d);
    return q;
}

#if defined(__AVX512F__)
inline __attribute__((always_inline)) __m512d exactQuotient(const __m512d a, const __m512d d, const __m512d y,
                                                            const int unused = 0) {
    const __m512d q0 = _mm512_mul_pd(a, y);
    const __m512d r = _mm512_fnmadd_pd(d, q0, a);
    const __m512d q = _mm512_fmadd_pd(r, y, q0);
    const __m512i magnitude = _mm512_and_epi64(_mm512_castpd_si512(a), _mm512_set1_epi64(MAGNITUDE_BITS));
    const __mmask8 inRange = _mm512_cmpgt_epi64_mask(_mm512_add_epi64(magnitude, _mm512_set1_epi64(RANGE_OFFSET)),
                                                     _mm512_set1_epi64(RANGE_LOWEST));
    if (__builtin_expect((inRange | unused) != 0xFF, 0)) return _mm512_div_pd(a, d);
    return q;
}
#endif

#endif

/* t / d for an integer divisor d = 2..MAX_EXACT_DIVISOR, lane by lane
   (2..11 in the acceleration's recursion, 12 in the gradient's zonal
   function of degree 12).  For d = 2, 4, 8 the product with the exact reciprocal is the same real
   number as the quotient, hence rounds to the same double.  The others:
   exactQuotient where the file is built with FMA and the register is
   256 or 512 bits wide, the division otherwise. */
template <class L>
inline __attribute__((always_inline)) typename L::V laneDivide(const typename L::V t, const int d) {
    if (d == 2 || d == 4 || d == 8) return t * L::set1(INVERSE_OF_POWER_OF_TWO[d]);
#if defined(GEOHARM_FMA_DIVISION)
    if constexpr (sizeof(typename L::V) >= 32)
        return exactQuotient(t, L::set1(SMALL_INTEGERS[d]), L::set1(RECIPROCALS[d]));
#endif
    return t / L::set1(SMALL_INTEGERS[d]);
}

}  // namespace geoharm

#endif
