/*
 * evaluate_acceleration.h - the gravitational acceleration of the degree-10
 * model at one point.  This is the field's entry point; the stages it runs
 * are declared in field_scalars.h, harmonic_arrays.h and harmonic_sums.h.
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
 *      stored as the default quiet NaN 0x7FF8000000000000, whatever NaN
 *      it came from (default_nan.h): one value on every build and path.
 *   5. All working storage lives on the caller's stack: calls from several
 *      threads at once are safe.
 *   6. It computes in one fixed floating-point state (round to nearest,
 *      subnormals kept, every exception masked: fixed_fp_state.h), set on
 *      entry and given back on return, so the caller's rounding mode,
 *      flush-to-zero or unmasked exceptions change neither the bits nor
 *      the outcome (no trap at the origin).  The caller's MXCSR is
 *      returned exactly as it was, its raised flags included; the flags
 *      of the call itself are not passed on.
 *   7. The harmonic part runs as fusedHarmonicSums (recursion and
 *      summation fused degree by degree, V and W side by side in SSE2
 *      registers, or two degrees' entries per 256-bit register where the
 *      processor has AVX2): the same operations as the plain stages, so
 *      the same bits as evaluateAccelerationPlain on every processor.
 */
void evaluateAcceleration(const FieldInput& in, double a[3]);

/*
 * evaluateAccelerationUnguarded - the same evaluation in whatever
 * floating-point state the thread is in: for callers that already hold
 * the fixed state (a FixedFpState of their own), such as the plug-ins'
 * entry points and the many-point routines, which would otherwise pay
 * for a second save and load of the state per point.
 */
void evaluateAccelerationUnguarded(const FieldInput& in, double a[3]);

/*
 * evaluateAccelerationPlain - the same result computed by the plain stages
 * (computeFieldScalars, fillHarmonicArrays, sumHarmonicTerms) one after the
 * other: the reference of the fast path above, slower.
 */
void evaluateAccelerationPlain(const FieldInput& in, double a[3]);

}  // namespace geoharm

#endif
