/*
 * degree_factors.h - the factors of the column recursion that depend on
 * the degree and order alone: the same for every model of one degree,
 * made once per process and degree and shared.
 *
 * For 0 <= m <= n <= L, in the layout of model_layout.h:
 *
 *   a(n,m) = sqrt((2n+1)(2n-1) / ((n-m)(n+m)))                  n > m
 *   b(n,m) = sqrt((2n+1)(n+m-1)(n-m-1) / ((n-m)(n+m)(2n-3)))     n > m+1
 *   b(m+1,m) = 0,  a(m,m) = b(m,m) = 0 (the seeds start the column)
 *
 * each from exact integers, one correctly rounded division and one
 * correctly rounded square root, so the same double on every build; and
 * by order, the column's seed
 *
 *   seed(m) = Abar(m,m) 2^-930,  Abar(0,0) = 1, Abar(1,1) = sqrt(3),
 *   Abar(m,m) = sqrt((2m+1)/(2m)) Abar(m-1,m-1)                  m >= 2
 *
 * (the fully normalised sectoral function divided by u^m), multiplied in
 * that order; seed holds GROUP_ORDERS * groupCount(L) entries, zero above L.
 *
 * For the orders below POLAR_PAIR_ORDERS (polar_cap.h), a(n,m) and b(n,m)
 * also as pairs of doubles (double_double.h), hi + lo to about 2^-104:
 * the quotient of the two integers as a pair (its remainder exact by
 * Dekker's product), then its square root by one Newton step in pairs;
 * pairA[m][n], pairB[m][n] (n = 0..L), and the seeds pairSeed[m].  The
 * same doubles on every build too.
 *
 * References:
 *   Holmes and Featherstone (2002), eqs. 11-13 (the same recursion for
 *   Pbar(n,m) and, within a column, for Pbar(n,m)/u^m).
 */
#ifndef GEOHARM_DEGREE_FACTORS_H
#define GEOHARM_DEGREE_FACTORS_H

namespace geoharm {

struct DegreeFactors {
    int maxDegree;
    const double* a;
    const double* b;
    const double* seed;
    /* [m][2n]: hi, [m][2n+1]: lo, m < POLAR_PAIR_ORDERS */
    const double* pairA[3];
    const double* pairB[3];
    double pairSeed[3][2];
};

/*
 * acquireDegreeFactors - the factors of degree L (0..MAX_MODEL_DEGREE),
 * made at the first request for L and shared by every later one while any
 * holds them; null when the memory cannot be had.  Every acquire is
 * matched by a releaseDegreeFactors; the last release frees them.  Safe
 * from several threads at once.
 */
const DegreeFactors* acquireDegreeFactors(int L);
void releaseDegreeFactors(const DegreeFactors* factors);

}  // namespace geoharm

#endif
