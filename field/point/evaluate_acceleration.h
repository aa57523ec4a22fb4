/*
 * evaluate_acceleration.h - the gravitational acceleration of the degree-10
 * model at one point: the field's entry point.
 */
#ifndef GEOHARM_EVALUATE_ACCELERATION_H
#define GEOHARM_EVALUATE_ACCELERATION_H

#include "kernels/field_types.h"

namespace geoharm {

/*
 * evaluateAcceleration - central term plus the harmonic terms of degree
 * 1..N and order 0..min(n, M).
 *
 * Given:
 *   in   position x, y, z (m, Earth-fixed axes); N and M (int8).
 * Returned:
 *   a    a_x, a_y, a_z (m/s^2), same axes.
 *
 * Notes:
 *   1. N and M above 10 are clamped to 10: the model has no terms above
 *      degree 10, so the result is the model's answer as if its higher
 *      coefficients were zero.
 *   2. N <= 1 or M < 0 give the central term alone, as 0.0 - (GM/r^2) x/r
 *      per axis (degree 1 has no coefficients).  M > N gives the same
 *      result as M = N.
 *   3. Every operation is an IEEE double rounded on its own, so the result
 *      is the same to the last bit on every platform.
 *   4. At the origin the result is NaN; infinite or NaN coordinates pass
 *      through under IEEE rules without a trap.  Every NaN component is
 *      the default quiet NaN 0x7FF8000000000000 (default_nan.h).
 *   5. All working storage lives on the caller's stack: calls from several
 *      threads at once are safe.
 *   6. It computes in one fixed floating-point state (fixed_fp_state.h),
 *      set on entry and given back exactly on return, so the caller's
 *      rounding mode, flush-to-zero or unmasked exceptions change neither
 *      the bits nor the outcome, and the call's own flags are not passed on.
 *   7. The harmonic part runs as fusedHarmonicSums, the level's one-point
 *      routine (fused_harmonic_sums.h): the operations, and so the bits,
 *      of evaluateAccelerationPlain on every processor.
 */
void evaluateAcceleration(const FieldInput& in, double a[3]);

/* evaluateAccelerationUnguarded - the same in the thread's current
   floating-point state, for callers that hold the fixed one already (a
   second save and load per point saved). */
void evaluateAccelerationUnguarded(const FieldInput& in, double a[3]);

/* evaluateAccelerationPlain - the same result from the plain stages
   (computeFieldScalars, fillHarmonicArrays, sumHarmonicTerms) one after
   the other: the reference of the fast path, slower. */
void evaluateAccelerationPlain(const FieldInput& in, double a[3]);

}  // namespace geoharm

#endif
