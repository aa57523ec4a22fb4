/*
 * model_column.h - the recursion of one order's column of functions and
 * its sums: the order of operations every routine of the engine follows,
 * for one point or for several in the lanes of a register (a template on
 * the lane type L).
 *
 * For order m and degrees n = m .. N, with tau = rho t, sigma = rho^2
 * (model_sums.h) and the factors a(n,m), b(n,m) and seed(m) of
 * degree_factors.h, the functions B(n) = rho^(n-m) Abar(n,m) 2^-930 and
 * their derivatives in t, B' and B'', are
 *
 *   B(m) = seed(m),  B'(m) = B''(m) = +0
 *   B(n)   = a (tau B(n-1)) - b (sigma B(n-2))
 *   B'(n)  = a (rho B(n-1) + tau B'(n-1)) - b (sigma B'(n-2))
 *   B''(n) = a (2rho B'(n-1) + tau B''(n-1)) - b (sigma B''(n-2))
 *
 * with B(m-1) = B(m-2) = +0 (and their derivatives); the recursion in t is
 * that of the fully normalised Pbar(n,m) (Holmes and Featherstone 2002,
 * eq. 11), which holds for Pbar(n,m)/u^m within the column too, with rho
 * carried along, and differentiated in t once and twice.  It is stable
 * upward in degree at every latitude.
 *
 * The sums of model_sums.h take each degree's term in ascending order:
 * pc = B C, ps = B S, then G0 += pc, ps; G1 += (n+1) pc, (n+1) ps; H0 +=
 * B' C, B' S; with the tensor G2 += (n+1)^2 pc, ...; H1 += (n+1) (B' C),
 * ...; J0 += B'' C, B'' S.  Each sum gathers a block of COLUMN_BLOCK
 * degrees (n from a multiple of COLUMN_BLOCK) on its own, from +0, and the
 * blocks are added to the sum in two doubles (Knuth's TwoSum: the sum and
 * its rounding error, exact) and the two added at the end: the low-degree
 * terms, by far the largest, would otherwise take every later term's
 * rounding at their own size, and the large first block's value would
 * not survive hundreds of small additions to the last bits.
 *
 * References:
 *   Holmes and Featherstone (2002), eqs. 11-13.
 *   Knuth, D. E. (1998), The Art of Computer Programming 2, 3rd ed.,
 *   sec. 4.2.2, theorem B (TwoSum).
 */
#ifndef GEOHARM_MODEL_COLUMN_H
#define GEOHARM_MODEL_COLUMN_H

#include "models/model_sums.h"

namespace geoharm {

/* Degrees per block of the column sums. */
constexpr int COLUMN_BLOCK = 16;

/* A sum held in two doubles: hi + lo, hi the rounded sum of the blocks. */
template <class V>
struct TwoSum {
    V hi, lo;
};

/* sum += block, exactly into (hi, lo): s = hi + block, and the rounding
   error of that addition added to lo. */
template <class V>
inline __attribute__((always_inline)) void addBlock(TwoSum<V>& sum, const V block) {
    const V s = sum.hi + block;
    const V bv = s - sum.hi;
    const V err = (sum.hi - (s - bv)) + (block - bv);
    sum.hi = s;
    sum.lo = sum.lo + err;
}

/* Whether degree n closes a block of the column sums. */
inline bool closesBlock(int n) { return n % COLUMN_BLOCK == COLUMN_BLOCK - 1; }

/*
 * BlockSums - the sums of one column (model_sums.h's G0, G1, H0, and with
 * TENSOR G2, H1, J0, each in C and S parts) as they take their terms
 * degree by degree, in blocks; for the lanes of L, each lane a column of
 * its own point or order.
 */
template <class L, bool TENSOR>
struct BlockSums {
    using V = typename L::V;
    static constexpr int K = TENSOR ? 12 : 6;
    V block[K];
    TwoSum<V> total[K];

    inline __attribute__((always_inline)) void clear() {
        for (int k = 0; k < K; k++) {
            block[k] = L::set1(0.0);
            total[k] = {L::set1(0.0), L::set1(0.0)};
        }
    }

    /* Degree n's terms of B, B', B'' (b, d, e) with the coefficients C, S
       (w1 = n + 1); the block added to the totals when n closes it or is
       the column's last degree N. */
    inline __attribute__((always_inline)) void add(const int n, const int N, const V w1, const V b, const V d,
                                                   const V e, const V C, const V S) {
        const V pc = b * C, ps = b * S;
        const V qc = d * C, qs = d * S;
        block[0] = block[0] + pc;
        block[1] = block[1] + ps;
        block[2] = block[2] + w1 * pc;
        block[3] = block[3] + w1 * ps;
        block[4] = block[4] + qc;
        block[5] = block[5] + qs;
        if (TENSOR) {
            const V w2 = w1 * w1;
            block[6 % K] = block[6 % K] + w2 * pc;
            block[7 % K] = block[7 % K] + w2 * ps;
            block[8 % K] = block[8 % K] + w1 * qc;
            block[9 % K] = block[9 % K] + w1 * qs;
            block[10 % K] = block[10 % K] + e * C;
            block[11 % K] = block[11 % K] + e * S;
        }
        if (closesBlock(n) || n == N) {
            for (int k = 0; k < K; k++) {
                addBlock(total[k], block[k]);
                block[k] = L::set1(0.0);
            }
        }
    }

    /* The column's sums: each total's two halves added. */
    inline __attribute__((always_inline)) ColumnSums<V> result() const {
        V v[12];
        for (int k = 0; k < 12; k++) v[k] = k < K ? total[k].hi + total[k].lo : L::set1(0.0);
        return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
    }
};

}  // namespace geoharm

#endif
