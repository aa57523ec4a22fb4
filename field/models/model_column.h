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

}  // namespace geoharm

#endif
