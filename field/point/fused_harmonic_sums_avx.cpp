/*
 * fused_harmonic_sums_avx.cpp - the fused recursion and summation with
 * 256-bit registers: two entries (V, W) of one degree per register, so
 * that one instruction makes two entries of a row, two x/y terms or four
 * z terms.  The one-point routine of the levels avx2, avx2_fma, avx512f
 * and avx512f_fma (machine/simd_level.h): with FMA the divisions by the
 * recursion's constants are the exact division of kernels/lane_divide.h
 * (the divider's doubles, without the divider's unit); with AVX-512VL the
 * same 256-bit operations have 32 registers, so that the rows and a
 * degree's coefficients stay in registers where 16 spill.
 *
 * Every lane is an IEEE double operation with the operands and grouping
 * of the plain code, and each accumulator takes its terms one at a time,
 * in the plain order:
 *
 *   - Row k is held as P[k][p] = (V(k,2p), W(k,2p), V(k,2p+1), W(k,2p+1)).
 *     Entries 2p and 2p+1 depend only on the same entries of the two rows
 *     before, so they are made together, each lane with its own factors
 *     ((n+m-1) rho and the divisor n-m).
 *   - W(k,0) is +0.0 by definition: the lane the recursion would put there
 *     (-0.0 or NaN possibly) is replaced by +0.0.
 *   - The x/y terms of orders m and m+1 fill the two halves of a register,
 *     added to (ax, ay) half by half, m first; the z terms of orders
 *     m..m+3 fill the four lanes (as m, m+2, m+1, m+3: coefficient_quads.h),
 *     added to az in ascending order.
 *   - Entries beyond a row's end are +0.0: lanes that read them make terms
 *     of orders above the degree, which are never added.
 *   - The exact identities of fused_harmonic_sums_sse2.cpp hold lane by
 *     lane ((-C) V = -(C V), a - b = a + (-b), products commuted, 1 t = t,
 *     t/2 = t*0.5), and the terms run one row behind the recursion there too.
 *
 * References: Cunningham (1970); Montenbruck and Gill (2000), Sect.
 * 3.2.4-3.2.5 (in full: fill_harmonic_arrays.cpp, sum_harmonic_terms.cpp).
 */
#include <immintrin.h>

#include "kernels/field_types.h"
#include "kernels/lane_divide.h"
#include "machine/level_functions.h"
#include "model/coefficient_quads.h"
#include "model/field_constants.h"

namespace geoharm {

#if defined(GEOHARM_FMA_DIVISION)
/* The same level dividing with the divider (GEOHARM_LEVEL_DIVIDER: avx2 for
   avx2_fma, avx512f for avx512f_fma): the routine a point out of the FMA
   division's range takes again. */
namespace GEOHARM_LEVEL_DIVIDER {
void pointSums(const FieldScalars& sc, int N, int M, double sum[3]);
}
#endif

namespace GEOHARM_LEVEL {

namespace {

constexpr int PAIRS = HARMONIC_DIM / 2;

inline __m256d load(const DoubleQuad& q) { return _mm256_load_pd(q.v); }

inline __m128d lower(__m256d a) { return _mm256_castpd256_pd128(a); }

inline __m128d upper(__m256d a) { return _mm256_extractf128_pd(a, 1); }

/* (lo, hi) as one register. */
inline __m256d join(__m128d lo, __m128d hi) { return _mm256_set_m128d(hi, lo); }

/* (V, W, V', W') -> (W, V, W', V'). */
inline __m256d swapPairs(__m256d a) { return _mm256_permute_pd(a, 0x5); }

inline __m128d swapLanes(__m128d a) { return _mm_shuffle_pd(a, a, 1); }

/* (i, i, j, j) as doubles, exact. */
inline __m256d lanePairs(int i, int j) {
    return _mm256_set_pd(static_cast<double>(j), static_cast<double>(j), static_cast<double>(i),
                         static_cast<double>(i));
}

/* divideByPairs - t / (i, i, j, j), i, j = 2..MAX_EXACT_DIVISOR.  Not
   laneDivide: the halves have different divisors, and with FMA the range
   tests of the sequence (fmaQuotient, lane_divide.h) are gathered in
   `inRange` for the whole point, which fusedSums evaluates again with the
   divider if any lane was out of range: no division branches.  The lanes
   in `unused` (W(k,0), replaced by +0) count as in range.  Without FMA:
   the divider. */
struct Divisions {
#if defined(GEOHARM_FMA_DIVISION)
    __m256i inRange = _mm256_set1_epi64x(-1);
#endif
};

inline __m256d divideByPairs(__m256d t, int i, int j, int unused, Divisions& divisions) {
#if defined(GEOHARM_FMA_DIVISION)
    const __m256d y = _mm256_set_pd(RECIPROCALS[j], RECIPROCALS[j], RECIPROCALS[i], RECIPROCALS[i]);
    __m256i ok = quotientInRange(t);
    if (unused == 0x2) ok = _mm256_or_si256(ok, _mm256_set_epi64x(0, 0, -1, 0));
    divisions.inRange = _mm256_and_si256(divisions.inRange, ok);
    return fmaQuotient(t, lanePairs(i, j), y);
#else
    (void)unused;
    (void)divisions;
    return _mm256_div_pd(t, lanePairs(i, j));
#endif
}

/* Inlined into each routine below, so that every degree and order is a
   constant there and the rows live in registers. */
#define GEOHARM_INLINE inline __attribute__((always_inline))

/* The per-call factors of the recursion. */
struct RowFactors {
    __m256d z0;  /* (z0, z0, z0, z0) */
    __m256d rho; /* (rho, rho, rho, rho) */
    __m128d x0;  /* (x0, x0) */
    __m128d y0;  /* (-y0, y0): lane 0 subtracts, lane 1 adds y0 times (W, V) */
};

/* Row k = 2..K of the functions from rows k-1 and k-2; diag holds
   (V,W)(k-1,k-1) on entry and (V,W)(k,k) on return. */
GEOHARM_INLINE void makeRow(const int k, const RowFactors& f, __m256d (*P)[PAIRS], __m128d& diag,
                            Divisions& divisions) {
    const __m256d zero = _mm256_setzero_pd();
#pragma GCC unroll 6
    for (int p = 0; p < PAIRS; p++) P[k][p] = zero;

    /* A = (2k-1) z0, also the sub-diagonal's (2m+1) z0 with m = k-1. */
    const __m256d a = _mm256_mul_pd(_mm256_set1_pd(static_cast<double>(2 * k - 1)), f.z0);

    /* Entries 2p, 2p+1 <= k-2 by the column recursion:
       (V,W)(k,j) = (A (V,W)(k-1,j) - ((k+j-1) rho) (V,W)(k-2,j)) / (k-j). */
#pragma GCC unroll 6
    for (int p = 0; 2 * p + 1 <= k - 2; p++) {
        const int j = 2 * p;
        const __m256d b = _mm256_mul_pd(lanePairs(k + j - 1, k + j), f.rho);
        const __m256d t = _mm256_sub_pd(_mm256_mul_pd(a, P[k - 1][p]), _mm256_mul_pd(b, P[k - 2][p]));
        P[k][p] = divideByPairs(t, k - j, k - j - 1, j == 0 ? 0x2 : 0, divisions);
    }
    if (k >= 3) P[k][0] = _mm256_blend_pd(P[k][0], zero, 0x2); /* W(k,0) = +0 */

    /* Sub-diagonal (V,W)(k,k-1) = ((2k-1) z0) (V,W)(k-1,k-1), and the
       diagonal (V,W)(k,k) = (2k-1) (x0 (V,W) + (-y0, y0) (W,V))(k-1,k-1). */
    const __m128d subDiag = _mm_mul_pd(lower(a), diag);
    const __m128d t = _mm_add_pd(_mm_mul_pd(f.x0, diag), _mm_mul_pd(f.y0, swapLanes(diag)));
    diag = _mm_mul_pd(_mm_set1_pd(static_cast<double>(2 * k - 1)), t);

    if (k % 2 == 0) {
        /* Entry k-2 = 2p alone by the recursion (divisor k-j = 2), then the
           sub-diagonal beside it; the diagonal starts a new pair. */
        const int p = (k - 2) / 2;
        const int j = k - 2;
        const __m128d b = _mm_mul_pd(_mm_set1_pd(static_cast<double>(k + j - 1)), lower(f.rho));
        const __m128d u = _mm_sub_pd(_mm_mul_pd(lower(a), lower(P[k - 1][p])), _mm_mul_pd(b, lower(P[k - 2][p])));
        __m128d lone = _mm_mul_pd(u, _mm_set1_pd(0.5)); /* u/2 = u*0.5 exactly */
        if (j == 0) lone = _mm_move_sd(_mm_setzero_pd(), lone); /* W(k,0) = +0 */
        P[k][p] = join(lone, subDiag);
        P[k][p + 1] = join(diag, _mm_setzero_pd());
    } else {
        P[k][(k - 1) / 2] = join(subDiag, diag);
    }
}

/* The terms of degree n = 1..MAX_DEGREE and orders 0..min(n, mTop), from
   row = row n+1 of the functions, added to (ax, ay) and az. */
GEOHARM_INLINE void addTerms(const int n, const int mTop, const __m256d* row, __m128d& axy, __m128d& az) {
    const __m128d k1 = _mm_set1_pd(K1);
    const __m256d k1q = _mm256_set1_pd(K1);
    const __m256d k2q = _mm256_set1_pd(K2);
    const int mEnd = n < mTop ? n : mTop;

    /* m = 0, x and y: ax + ((-C) V(n+1,1)) K1, ay + ((-C) W(n+1,1)) K1. */
    axy = _mm_add_pd(axy, _mm_mul_pd(_mm_mul_pd(_mm_set1_pd(COEF_QUADS.negC0[n]), upper(row[0])), k1));

    /* x and y, orders m, m+1 (m odd) per register:
       ((-(C Vp) - S Wp) + (C Vm + S Wm) F) K2 and
       ((S Vp - C Wp) + (S Vm - C Wm) F) K2. */
#pragma GCC unroll 6
    for (int m = 1; m <= mEnd; m += 2) {
        const TermQuads& c = COEF_QUADS.term[n][(m - 1) / 2];
        const __m256d hm = row[(m - 1) / 2]; /* orders m-1, m */
        const __m256d hp = row[(m + 1) / 2]; /* orders m+1, m+2 */
        const __m256d p1 =
            _mm256_add_pd(_mm256_mul_pd(load(c.negCnegC), hp), _mm256_mul_pd(load(c.negSposS), swapPairs(hp)));
        const __m256d p2 =
            _mm256_add_pd(_mm256_mul_pd(load(c.posCnegC), hm), _mm256_mul_pd(load(c.posSposS), swapPairs(hm)));
        const __m256d s = _mm256_mul_pd(_mm256_add_pd(p1, _mm256_mul_pd(p2, load(c.facFac))), k2q);
        axy = _mm_add_pd(axy, lower(s));
        if (m + 1 <= mEnd) axy = _mm_add_pd(axy, upper(s));
    }

    /* z, orders m..m+3 per register: ((n-m+1) (-(C V) - S W)) K1, added in
       ascending order from the lanes (m, m+2 | m+1, m+3). */
#pragma GCC unroll 3
    for (int m = 0; m <= mEnd; m += 4) {
        const ZQuads& c = COEF_QUADS.z[n][m / 4];
        const __m256d lo = row[m / 2];     /* orders m, m+1 */
        const __m256d hi = row[m / 2 + 1]; /* orders m+2, m+3 */
        const __m256d v = _mm256_unpacklo_pd(lo, hi);
        const __m256d w = _mm256_unpackhi_pd(lo, hi);
        const __m256d d = _mm256_sub_pd(_mm256_mul_pd(load(c.negC), v), _mm256_mul_pd(load(c.posS), w));
        const __m256d s = _mm256_mul_pd(_mm256_mul_pd(load(c.weight), d), k1q);
        const __m128d s02 = lower(s);
        const __m128d s13 = upper(s);
        az = _mm_add_sd(az, s02);
        if (m + 1 <= mEnd) az = _mm_add_sd(az, s13);
        if (m + 2 <= mEnd) az = _mm_add_sd(az, _mm_unpackhi_pd(s02, s02));
        if (m + 3 <= mEnd) az = _mm_add_sd(az, _mm_unpackhi_pd(s13, s13));
    }
}

/* Recursion and sums for degree N = 1..MAX_DEGREE and orders up to
   mTop = min(M, N); FULL: mTop = N, known when compiling, so that every
   test on the order folds away. */
template <int N, bool FULL>
void fusedSums(const FieldScalars& sc, const int mTopGiven, double sum[3]) {
    constexpr int K = N + 1; /* highest degree of the functions */
    const int mTop = FULL ? N : mTopGiven;

    RowFactors factors;
    factors.z0 = _mm256_set1_pd(sc.z0);
    factors.rho = _mm256_set1_pd(sc.rho);
    factors.x0 = _mm_set1_pd(sc.x0);
    factors.y0 = _mm_set_pd(sc.y0, -sc.y0);

    __m256d P[HARMONIC_DIM][PAIRS];

    /* Seeds: (V,W)(0,0) = (R/r, +0); (V,W)(1,0) = (z0 V(0,0), +0). */
    const double v00 = R_REF / sc.r;
    __m128d diag = _mm_set_sd(v00); /* (V,W)(k-1,k-1) on entry to row k */
#pragma GCC unroll 6
    for (int p = 0; p < PAIRS; p++) P[0][p] = P[1][p] = _mm256_setzero_pd();
    P[0][0] = join(diag, _mm_setzero_pd());
    /* (V,W)(1,1) = x0 (V,W) + (-y0, y0) (W,V) of (0,0); the factor 2m-1 is 1. */
    diag = _mm_add_pd(_mm_mul_pd(factors.x0, diag), _mm_mul_pd(factors.y0, swapLanes(diag)));
    P[1][0] = join(_mm_set_sd(sc.z0 * v00), diag);

    /* Accumulators: (ax, ay), and az in lane 0. */
    __m128d axy = _mm_setzero_pd();
    __m128d az = _mm_setzero_pd();
    Divisions divisions;

    /* Pass k makes row k, then adds the terms of degree k-2 (row k-1). */
#pragma GCC unroll 12
    for (int k = 2; k <= K + 1; k++) {
        if (k <= K) makeRow(k, factors, P, diag, divisions);
        if (k >= 3) addTerms(k - 2, mTop, P[k - 1], axy, az);
    }

#if defined(GEOHARM_FMA_DIVISION)
    /* A division out of the exact division's range (a zero, subnormal,
       infinite or NaN numerator: points on an axis or a coordinate plane,
       non-finite or extreme positions): the point again, with the
       divider, for the divider's doubles in every lane. */
    if (__builtin_expect(_mm256_movemask_pd(_mm256_castsi256_pd(divisions.inRange)) != 0xF, 0)) {
        GEOHARM_LEVEL_DIVIDER::pointSums(sc, N, mTop, sum);
        return;
    }
#endif

    double xy[2];
    _mm_storeu_pd(xy, axy);
    sum[0] = xy[0];
    sum[1] = xy[1];
    sum[2] = _mm_cvtsd_f64(az);
}

#undef GEOHARM_INLINE

using DegreeSums = void (*)(const FieldScalars&, int, double[3]);

/* [N][M >= N] */
const DegreeSums SUMS_OF_DEGREE[MAX_DEGREE + 1][2] = {
    {nullptr, nullptr},
    {fusedSums<1, false>, fusedSums<1, true>},
    {fusedSums<2, false>, fusedSums<2, true>},
    {fusedSums<3, false>, fusedSums<3, true>},
    {fusedSums<4, false>, fusedSums<4, true>},
    {fusedSums<5, false>, fusedSums<5, true>},
    {fusedSums<6, false>, fusedSums<6, true>},
    {fusedSums<7, false>, fusedSums<7, true>},
    {fusedSums<8, false>, fusedSums<8, true>},
    {fusedSums<9, false>, fusedSums<9, true>},
    {fusedSums<10, false>, fusedSums<10, true>},
};

}  // namespace

void pointSums(const FieldScalars& sc, int N, int M, double sum[3]) {
    /* 1 <= N <= MAX_DEGREE and 0 <= M (checked by the caller). */
    SUMS_OF_DEGREE[N][M >= N](sc, M < N ? M : N, sum);
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
