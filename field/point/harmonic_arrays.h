/*
 * harmonic_arrays.h - the solid harmonic functions V(n,m), W(n,m) of one
 * evaluation and the recursion that fills them.
 *
 * Storage: HARMONIC_DIM x HARMONIC_DIM doubles (n, m = 0..12), column-major
 * with degree n fastest, so (n, m) sits at n + HARMONIC_DIM*m.
 */
#ifndef GEOHARM_HARMONIC_ARRAYS_H
#define GEOHARM_HARMONIC_ARRAYS_H

#include "model/field_constants.h"
#include "kernels/field_types.h"

namespace geoharm {

constexpr int HARMONIC_SIZE = HARMONIC_DIM * HARMONIC_DIM;

inline int harmonicIndex(int n, int m) { return n + HARMONIC_DIM * m; }

/*
 * fillHarmonicArrays - V(n,m) and W(n,m) for the position of the call, up
 * to degree N+1 and order M+1.
 *
 * Given:
 *   sc    per-call scalars (r, rho, x0, y0, z0 are read)
 *   N, M  largest degree and order of the terms to be summed; at most
 *         MAX_DEGREE + 1 each (the caller clamps: MAX_DEGREE for the
 *         acceleration, one more for the gradient tensor, which reads
 *         degree N+2 and order M+2); negative values switch off the zonal
 *         pass (N) or every order above zero (M).
 * Returned:
 *   V, W  HARMONIC_SIZE doubles each.  Only the entries the summation reads
 *         for this N and M are written; the rest is left as it was.
 */
void fillHarmonicArrays(const FieldScalars& sc, int N, int M, double V[HARMONIC_SIZE],
                        double W[HARMONIC_SIZE]);

}  // namespace geoharm

#endif
