/*
 * evaluate_acceleration_plain.cpp - the evaluation as its plain stages,
 * one after the other: scalars, harmonic functions, harmonic sums, central
 * term.  The reference every fast routine reproduces bit for bit:
 *
 *   a = sum over n = 1..N, m = 0..min(n,M) of grad(term n,m)  -  GM r / |r|^3
 */
#include "point/evaluate_acceleration.h"
#include "point/central_term.h"
#include "model/field_limits.h"
#include "point/field_scalars.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"

namespace geoharm {

void evaluateAccelerationPlain(const FieldInput& in, double a[3]) {
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    /* Harmonic functions up to degree N+1 and order M+1. */
    double V[HARMONIC_SIZE];
    double W[HARMONIC_SIZE];
    fillHarmonicArrays(sc, N, M, V, W);

    double sum[3];
    sumHarmonicTerms(N, M, V, W, sum);
    addCentralTerm(sc, in, sum, a);
}

}  // namespace geoharm
