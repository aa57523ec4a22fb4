/*
 * evaluate_acceleration.cpp - the evaluation pipeline: scalars, harmonic
 * functions, harmonic sums, central term.
 *
 *   a = sum over n = 1..N, m = 0..min(n,M) of grad(term n,m)  -  GM r / |r|^3
 *
 * with the central term written as (GM/r^2) x / r per axis, added last.
 */
#include "evaluate_acceleration.h"

#include "field_scalars.h"
#include "harmonic_arrays.h"
#include "harmonic_sums.h"

namespace geoharm {

void evaluateAcceleration(const FieldInput& in, double a[3]) {
    /* Widen the 8-bit limits; above the model's degree there is nothing
       to add, and the arrays end there, so clamp (negative values keep
       their meaning: they switch stages off). */
    int N = in.n;
    int M = in.m;
    if (N > MAX_DEGREE) N = MAX_DEGREE;
    if (M > MAX_DEGREE) M = MAX_DEGREE;

    /* Per-call scalars. */
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    /* Harmonic functions up to degree N+1 and order M+1. */
    double V[HARMONIC_SIZE];
    double W[HARMONIC_SIZE];
    fillHarmonicArrays(sc, N, M, V, W);

    /* Non-central part. */
    double sum[3];
    sumHarmonicTerms(N, M, V, W, sum);

    /* Central term, component by component: (gmr2 x) rounded, then / r. */
    a[0] = sum[0] - (sc.gmr2 * in.x) / sc.r;
    a[1] = sum[1] - (sc.gmr2 * in.y) / sc.r;
    a[2] = sum[2] - (sc.gmr2 * in.z) / sc.r;
}

}  // namespace geoharm
