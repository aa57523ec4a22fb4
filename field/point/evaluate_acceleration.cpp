/*
 * evaluate_acceleration.cpp - the evaluation pipeline, fast path: scalars,
 * the fused paired recursion and summation, central term.
 *
 *   a = sum over n = 1..N, m = 0..min(n,M) of grad(term n,m)  -  GM r / |r|^3
 *
 * with the central term written as (GM/r^2) x / r per axis, added last.
 * Same operations and the same bits as evaluateAccelerationPlain.
 */
#include "point/evaluate_acceleration.h"

#include "point/central_term.h"
#include "model/field_limits.h"
#include "point/field_scalars.h"
#include "machine/fixed_fp_state.h"
#include "point/fused_harmonic_sums.h"

namespace geoharm {

void evaluateAcceleration(const FieldInput& in, double a[3]) {
    /* The fixed state for the call, the caller's back on return. */
    const FixedFpState fixedState;
    evaluateAccelerationUnguarded(in, a);
}

void evaluateAccelerationUnguarded(const FieldInput& in, double a[3]) {
    /* Widened limits, clamped to the model. */
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);

    /* Per-call scalars. */
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    /* Non-central part. */
    double sum[3];
    fusedHarmonicSums(sc, N, M, sum);

    /* Central term, added last. */
    addCentralTerm(sc, in, sum, a);
}

}  // namespace geoharm
