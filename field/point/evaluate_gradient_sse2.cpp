/*
 * evaluate_gradient_sse2.cpp - the single-point gradient kernel
 * (pair_gradient_kernel.h) with the tensor's six accumulators as SSE2
 * pairs (tV, tW): the one-point gradient routine of the level sse2, which
 * every processor of the three builds runs.
 */
#include <emmintrin.h>

#include "point/pair_gradient_kernel.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

namespace {

struct Policy {
    struct TensorAcc {
        __m128d e[T_ENTRIES];
    };
    static void zeroTensor(TensorAcc& t) {
        for (int e = 0; e < T_ENTRIES; e++) t.e[e] = _mm_setzero_pd();
    }
    /* (tV, tW) += (cV, cW) (V, W), entry by entry. */
    static void addTensor(TensorAcc& t, const GradientFunction& g, __m128d vw) {
#pragma GCC unroll 6
        for (int e = 0; e < T_ENTRIES; e++) t.e[e] = _mm_add_pd(t.e[e], _mm_mul_pd(_mm_load_pd(&g.c[2 * e]), vw));
    }
    static void finishTensor(const TensorAcc& t, double h[T_ENTRIES]) {
        for (int e = 0; e < T_ENTRIES; e++) {
            double vw[2];
            _mm_storeu_pd(vw, t.e[e]);
            h[e] = (vw[0] + vw[1]) * K3;
        }
    }
};

}  // namespace

void pointGradient(const FieldInput& in, double T[9], double a[3], double* U) { pairGradient<Policy>(in, T, a, U); }

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
