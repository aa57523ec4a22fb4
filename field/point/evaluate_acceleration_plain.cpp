/*
 * evaluate_acceleration_plain.cpp - the evaluation pipeline run as its
 * plain stages, one after the other: scalars, harmonic functions, harmonic
 * sums, central term.
 *
 *   a = sum over n = 1..N, m = 0..min(n,M) of grad(term n,m)  -  GM r / |r|^3
 *
 * with the central term written as (GM/r^2) x / r per axis, added last.
 * This is the reference the fast path (evaluateAcceleration) reproduces bit
 * for bit.
 */
#include "point/evaluate_acceleration.h"
#include "point/central_term.h"
#include "model/field_limits.h"
#include "point/field_scalars.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"

namespace geoharm {

void evaluateAccelerationPlain(const FieldInput& in, double a[3]) {
    /* Widened limits, clamped to the model. */
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);

    /* Per-call scalars. */
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    /* Harmonic functions up to degree N+1 and order M+1. */
    double V[HARMONIC_SIZE];
    double W[HARMONIC_SIZE];
    fillHarmonicArrays(sc, N, M, V, W);

    /* Non-central part. */
    double sum[3];
    sumHarmonicTerms(N, M, V, W, sum);

    /* Central term, added last. */
    addCentralTerm(sc, in, sum, a);
}

}  // namespace geoharm
