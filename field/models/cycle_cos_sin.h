/*
 * cycle_cos_sin.h - cos(2 pi f) and sin(2 pi f) for a phase f in cycles,
 * the same bits on every build.
 */
#ifndef GEOHARM_MODELS_CYCLE_COS_SIN_H
#define GEOHARM_MODELS_CYCLE_COS_SIN_H

namespace geoharm {

/*
 * cycleCosSin - the cosine and sine of the angle of f turns.
 *
 * Given:
 *   f   the phase in cycles (turns), finite
 * Returned:
 *   c   cos(2 pi f)
 *   s   sin(2 pi f)
 *
 * Notes:
 *   1. f is reduced exactly: r = f - round(f) in [-1/2, 1/2], then
 *      x = r - k/4 in [-1/8, 1/8] with k = round(4r); both subtractions
 *      are exact (Sterbenz's lemma), so whole turns add no error however
 *      large f is.  Then c and s of 2 pi x from fixed polynomials with
 *      only + and *, and the quarter turns k by exchanging them and
 *      changing signs (cycle_cos_sin.cpp).  Within 0.8 ulp of the exact
 *      values.
 *   2. Plain IEEE double operations in a fixed order, no library call:
 *      the results depend on f alone, under round to nearest (the state
 *      every entry point of the library holds).
 *   3. cos and sin of a whole number of quarter turns are exact: 1, +0
 *      or -1.
 */
void cycleCosSin(double f, double* c, double* s);

}  // namespace geoharm

#endif
