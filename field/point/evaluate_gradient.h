/*
 * evaluate_gradient.h - the gravity-gradient tensor, the acceleration and
 * the potential of the degree-10 model at one point, from one evaluation
 * of the harmonic functions.
 */
#ifndef GEOHARM_EVALUATE_GRADIENT_H
#define GEOHARM_EVALUATE_GRADIENT_H

#include "kernels/field_types.h"

namespace geoharm {

/*
 * evaluateGradient - T = d a / d x, a and U at one point.
 *
 * Given:
 *   in   position x, y, z (m, Earth-fixed axes); N and M (int8), read as
 *        evaluateAcceleration reads them.
 * Returned:
 *   T    9 doubles (1/s^2): T[3i+j] = d a_i / d x_j, i, j = x, y, z.  The
 *        tensor is symmetric and stored so exactly (six entries formed,
 *        mirrored), so row- and column-major storage agree.
 *   a    a_x, a_y, a_z (m/s^2): bit for bit evaluateAcceleration(in); or
 *        null (not wanted: the acceleration's terms are left out).
 *   U    the potential (m^2/s^2), a = grad U, positive (GM/r for the point
 *        mass alone); or null (not wanted, not computed).
 *
 * Notes:
 *   1. N <= 1 or M < 0: the point mass alone, T = GM (3 x x'/r^5 - I/r^3),
 *      U = GM/r (degree 1 has no terms); N, M above 10 are 10, M > N is
 *      M = N, as for the acceleration.
 *   2. The order of every operation is fixed (sum_gradient_terms.cpp,
 *      central_tensor.h), so the bits are the same on every build, and the
 *      same as evaluateGradientMany gives for the point.
 *   3. It computes in the fixed floating-point state and gives the
 *      caller's back on return (fixed_fp_state.h), as evaluateAcceleration
 *      does.  At the origin every output is NaN or infinite; non-finite
 *      coordinates pass through under IEEE rules without a trap.
 *   4. The level's one-point routine (pair_gradient_kernel.h) runs the
 *      recursion and all three sums in one pass over the degrees, with the
 *      operations of evaluateGradientPlain.
 *   5. All working storage is on the caller's stack.
 */
void evaluateGradient(const FieldInput& in, double T[9], double a[3], double* U);

/* evaluateGradientUnguarded - the same in the thread's current
   floating-point state, for callers that hold the fixed one already. */
void evaluateGradientUnguarded(const FieldInput& in, double T[9], double a[3], double* U);

/*
 * evaluateGradientPlain - the same result from the plain stages, one after
 * the other: computeFieldScalars, fillHarmonicArrays (to degree N+2),
 * sumHarmonicTerms, sumGradientTerms, the central terms.  The reference of
 * the vector routines; slower.  Every output must be given.
 */
void evaluateGradientPlain(const FieldInput& in, double T[9], double a[3], double* U);

}  // namespace geoharm

#endif
