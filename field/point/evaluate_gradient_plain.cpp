/*
 * evaluate_gradient_plain.cpp - the gradient tensor, acceleration and
 * potential from the plain stages, one after the other: the reference the
 * vector routines reproduce bit for bit.  The acceleration comes from the
 * acceleration's stages (the recursion carried one degree further changes
 * none of its functions); T and U add the point mass last.
 */
#include "kernels/central_tensor.h"
#include "point/central_term.h"
#include "point/evaluate_gradient.h"
#include "point/field_scalars.h"
#include "point/gradient_sums.h"
#include "point/harmonic_arrays.h"
#include "point/harmonic_sums.h"
#include "model/field_limits.h"

namespace geoharm {

void evaluateGradientPlain(const FieldInput& in, double T[9], double a[3], double* U) {
    const int N = clampToModel(in.n);
    const int M = clampToModel(in.m);
    const FieldScalars sc = computeFieldScalars(in.x, in.y, in.z);

    /* Harmonic functions up to degree N+2 and order M+2. */
    double V[HARMONIC_SIZE];
    double W[HARMONIC_SIZE];
    fillHarmonicArrays(sc, N + 1, M + 1, V, W);

    double sum[3];
    sumHarmonicTerms(N, M, V, W, sum);
    addCentralTerm(sc, in, sum, a);

    /* The point mass; the harmonic parts added to it where there are any. */
    double t[6];
    centralTensor<ScalarLane>(in.x, in.y, in.z, sc.r, sc.gmr2, t);
    double u = centralPotential<ScalarLane>(sc.r);
    if (N >= 2 && M >= 0) {
        double h[6], hu;
        sumGradientTerms(N, M, V, W, h, &hu);
        for (int e = 0; e < 6; e++) t[e] = h[e] + t[e];
        u = hu + u;
    }
    storeTensor(t, T);
    *U = toDefaultNan(u);
}

}  // namespace geoharm
