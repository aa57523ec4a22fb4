/*
 * evaluate_acceleration.cpp - the evaluation, fast path: the scalars, the
 * fused recursion and sums (fusedHarmonicSums), the central term; the
 * operations and the bits of evaluateAccelerationPlain.
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
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);
    double sum[3];
    fusedHarmonicSums(sc, N, M, sum);
    addCentralTerm(sc, in, sum, a);
}

}  // namespace geoharm
