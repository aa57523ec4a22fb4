/*
 * fused_harmonic_sums_sse2.cpp - recursion and summation of the harmonic
 * terms fused degree by degree, with V and W as the two lanes of SSE2
 * pairs: the one-point routine of the level sse2 (machine/simd_level.h).
 *
 * The operations are those of fillHarmonicArrays and sumHarmonicTerms,
 * each rounded on its own, in the same grouping and, per accumulator, in
 * the same order; only independent work is reordered:
 *
 *   - V(n,m) and W(n,m) take identical operations, so one SSE2 instruction
 *     does both, each lane the scalar IEEE operation.
 *   - Degree n of the sums reads row n+1 of the functions alone; its terms
 *     are added after row n+2 is made, so that the divisions of a row
 *     overlap the terms of the row before.
 *   - The z terms of two orders are formed in the two lanes, then added to
 *     az one after the other, in ascending order.
 *   - Exact identities, each the same double as the written operation:
 *     a*b = b*a and a+b = b+a; a - b = a + (-b) and (-C) V = -(C V), the
 *     negation carried by the constant; t/2, t/4, t/8 as t*0.5, t*0.25,
 *     t*0.125; 2 p as p + p; 1 t as t.
 *   - Nothing else is left out: the degree-1 terms (zero coefficients) are
 *     computed and added, since 0 times an infinite or NaN function value
 *     is NaN and must reach the sums as in the plain code.
 *
 * Layout: H[k][j] = (V(k,j), W(k,j)) and X[k][j] = (W(k,j), V(k,j)),
 * degree k = 0..N+1, order j = 0..min(k, N+1).  An entry depends only on
 * lower degrees of its own column and on the diagonal, so making every
 * order up to N+1, whatever M is (the extra columns cost little), gives
 * the entries the sums read the plain recursion's values.
 *
 * References: Cunningham (1970); Montenbruck and Gill (2000), Sect.
 * 3.2.4-3.2.5 (in full: fill_harmonic_arrays.cpp, sum_harmonic_terms.cpp).
 */
#include <emmintrin.h>

#include "kernels/field_types.h"
#include "kernels/lane_divide.h"
#include "kernels/scalar_lane.h"
#include "machine/level_functions.h"
#include "model/coefficient_pairs.h"
#include "model/field_constants.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

namespace {

/* Exact small integers i as pairs (i, i), i = 0..2*HARMONIC_DIM-1. */
struct IntegerPairs {
    DoublePair v[2 * HARMONIC_DIM];
};

constexpr IntegerPairs makeIntegerPairs() {
    IntegerPairs p{};
    for (int i = 0; i < 2 * HARMONIC_DIM; i++) p.v[i] = {static_cast<double>(i), static_cast<double>(i)};
    return p;
}

constexpr IntegerPairs INTEGER = makeIntegerPairs();

inline __m128d load(const DoublePair& p) { return _mm_load_pd(&p.lo); }

inline __m128d swapLanes(__m128d a) { return _mm_shuffle_pd(a, a, 1); }

/* A pair as a lane type, for laneDivide (kernels/lane_divide.h). */
struct PairLane {
    using V = __m128d;
    static V set1(double v) { return _mm_set1_pd(v); }
};

/* divideBy - laneDivide on a pair and on a double under one name: no
   division of its own (the zonal step divides a double, the columns
   pairs). */
inline __m128d divideBy(__m128d t, int d) { return laneDivide<PairLane>(t, d); }
inline double divideBy(double t, int d) { return laneDivide<ScalarLane>(t, d); }

/* The recursion and the sums for one degree N = 1..MAX_DEGREE and orders
   up to mTop = min(M, N), 0 <= mTop <= N.  N is a constant, so every loop
   over degree and order has a fixed most number of passes and unrolls
   completely; FULL (M >= N) makes mTop = N a constant too, and every test
   on the order folds away. */
template <int N, bool FULL>
void fusedSums(const FieldScalars& sc, const int mTopGiven, double sum[3]) {
    const int mTop = FULL ? N : mTopGiven;
    constexpr int jTop = N + 1; /* every order, whatever M is (Layout above) */

    const __m128d z0 = _mm_set1_pd(sc.z0);
    const __m128d rho = _mm_set1_pd(sc.rho);
    const __m128d x0 = _mm_set1_pd(sc.x0);
    /* (-y0, y0): lane 0 subtracts, lane 1 adds y0 times the swapped pair. */
    const __m128d y0 = _mm_set_pd(sc.y0, -sc.y0);
    const __m128d k1 = _mm_set1_pd(K1);
    const __m128d k2 = _mm_set1_pd(K2);

    /* Recursion factors in both lanes: A[k] = (2k-1) z0 (the sub-diagonal's
       (2m+1) z0 is A[m+1]), B[i] = i rho with i = n+m-1. */
    __m128d A[HARMONIC_DIM];
    __m128d B[2 * HARMONIC_DIM];
#pragma GCC unroll 12
    for (int k = 1; k <= N + 1; k++) A[k] = _mm_mul_pd(load(INTEGER.v[2 * k - 1]), z0);
    const int iTop = N + (jTop < N - 1 ? jTop : N - 1);
#pragma GCC unroll 24
    for (int i = 1; i <= iTop; i++) B[i] = _mm_mul_pd(load(INTEGER.v[i]), rho);

    __m128d H[HARMONIC_DIM][HARMONIC_DIM];
    __m128d X[HARMONIC_DIM][HARMONIC_DIM];

    /* Seeds: V(0,0) = R/r, V(1,0) = z0 V(0,0); W(0,0) = W(1,0) = +0.0. */
    const double v00 = R_REF / sc.r;
    H[0][0] = _mm_set_sd(v00);
    X[0][0] = swapLanes(H[0][0]);
    H[1][0] = _mm_set_sd(sc.z0 * v00);

    /* Accumulators: (ax, ay), and az in lane 0. */
    __m128d axy = _mm_setzero_pd();
    __m128d az = _mm_setzero_pd();

    /* Pass k makes row k, then adds the terms of degree k-2 (row k-1). */
#pragma GCC unroll 13
    for (int pass = 1; pass <= N + 2; pass++) {
        if (pass <= N + 1) {
            const int k = pass;
            if (k >= 2) {
                /* Zonal: V(k,0) = (A V(k-1,0) - B V(k-2,0)) / k, W(k,0) = +0.0. */
                const double a = _mm_cvtsd_f64(A[k]);
                const double b = _mm_cvtsd_f64(B[k - 1]);
                const double v = a * _mm_cvtsd_f64(H[k - 1][0]) - b * _mm_cvtsd_f64(H[k - 2][0]);
                H[k][0] = _mm_set_sd(divideBy(v, k));

                /* Columns: (V,W)(k,j) = (A (V,W)(k-1,j) - B (V,W)(k-2,j)) / (k-j). */
                const int jCol = k - 2 < jTop ? k - 2 : jTop;
#pragma GCC unroll 12
                for (int j = 1; j <= jCol; j++) {
                    const __m128d t =
                        _mm_sub_pd(_mm_mul_pd(A[k], H[k - 1][j]), _mm_mul_pd(B[k + j - 1], H[k - 2][j]));
                    H[k][j] = divideBy(t, k - j);
                }

                /* Sub-diagonal: (V,W)(k,k-1) = ((2k-1) z0) (V,W)(k-1,k-1). */
                if (k - 1 <= jTop) H[k][k - 1] = _mm_mul_pd(A[k], H[k - 1][k - 1]);
            }

            /* Diagonal: (V,W)(k,k) = (2k-1) (x0 (V,W) + (-y0, y0) (W,V))(k-1,k-1),
               i.e. V = (2k-1)(x0 V - y0 W), W = (2k-1)(x0 W + y0 V); for k = 1
               the factor is 1 and 1 t = t exactly. */
            if (k <= jTop) {
                const __m128d t = _mm_add_pd(_mm_mul_pd(x0, H[k - 1][k - 1]), _mm_mul_pd(y0, X[k - 1][k - 1]));
                H[k][k] = k == 1 ? t : _mm_mul_pd(load(INTEGER.v[2 * k - 1]), t);
            }

            /* Swapped pairs of the new row. */
            const int jRow = k < jTop ? k : jTop;
#pragma GCC unroll 12
            for (int j = 0; j <= jRow; j++) X[k][j] = swapLanes(H[k][j]);
        }

        if (pass >= 3) {
            /* Terms of degree n = k-1, order ascending, from row k. */
            const int k = pass - 1;
            const int n = k - 1;
            const TermPairs* tc = COEF_PAIRS.term[n];
            const ZPairs* zc = COEF_PAIRS.z[n];
            const int mEnd = n < mTop ? n : mTop;

            /* m = 0, x and y: ax - (C V(k,1)) K1 and ay - (C W(k,1)) K1, written
               ax + ((-C) V(k,1)) K1 (subtracting is adding the negation). */
            axy = _mm_add_pd(axy, _mm_mul_pd(_mm_mul_pd(load(tc[0].negCnegC), H[k][1]), k1));

            /* x and y, m >= 1. */
#pragma GCC unroll 12
            for (int m = 1; m <= mEnd; m++) {
                const TermPairs& t = tc[m];
                /* (-(C Vp) - S Wp, S Vp - C Wp) */
                const __m128d p1 = _mm_add_pd(_mm_mul_pd(load(t.negCnegC), H[k][m + 1]),
                                              _mm_mul_pd(load(t.negSposS), X[k][m + 1]));
                /* (C Vm + S Wm, S Vm - C Wm) */
                const __m128d p2 = _mm_add_pd(_mm_mul_pd(load(t.posCnegC), H[k][m - 1]),
                                              _mm_mul_pd(load(t.posSposS), X[k][m - 1]));
                /* times F; for m = n, F = 2 and p2 + p2 is the same double as 2 p2 */
                const __m128d p2f = m == n ? _mm_add_pd(p2, p2) : _mm_mul_pd(p2, load(t.facFac));
                axy = _mm_add_pd(axy, _mm_mul_pd(_mm_add_pd(p1, p2f), k2));
            }

            /* z, every m: az + ((n-m+1) (-(C V(k,m)) - S W(k,m))) K1, two orders
               m, m+1 per instruction (lane 0, lane 1), added in ascending order.
               For m = 0 the table's S(n,0) = +0 times W(k,0) = +0 is the same +0
               the plain sum subtracts. */
            int m = 0;
#pragma GCC unroll 6
            for (; m + 1 <= mEnd; m += 2) {
                const ZPairs& z = zc[m / 2];
                const __m128d v = _mm_unpacklo_pd(H[k][m], H[k][m + 1]); /* (V_m, V_m+1) */
                const __m128d w = _mm_unpackhi_pd(H[k][m], H[k][m + 1]); /* (W_m, W_m+1) */
                const __m128d d = _mm_sub_pd(_mm_mul_pd(load(z.negC), v), _mm_mul_pd(load(z.posS), w));
                const __m128d t = _mm_mul_pd(_mm_mul_pd(load(z.weight), d), k1);
                az = _mm_add_sd(az, t);
                az = _mm_add_sd(az, _mm_unpackhi_pd(t, t));
            }
            /* The last order alone (mEnd even), in lane 0 of (V,W) and (W,V);
               for m = n its weight is 1 and 1 d = d exactly. */
            if (m == mEnd) {
                const ZPairs& z = zc[m / 2];
                const __m128d d = _mm_sub_sd(_mm_mul_sd(load(z.negC), H[k][m]), _mm_mul_sd(load(z.posS), X[k][m]));
                const __m128d t = m == n ? d : _mm_mul_sd(load(z.weight), d);
                az = _mm_add_sd(az, _mm_mul_sd(t, k1));
            }
        }
    }

    double xy[2];
    _mm_storeu_pd(xy, axy);
    sum[0] = xy[0];
    sum[1] = xy[1];
    sum[2] = _mm_cvtsd_f64(az);
}

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
    /* 1 <= N <= MAX_DEGREE and 0 <= M (checked by the caller); orders above
       the degree add nothing: M > N sums as M = N. */
    SUMS_OF_DEGREE[N][M >= N](sc, M < N ? M : N, sum);
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
