/*
 * evaluate_gradient_avx.cpp - the single-point gradient kernel
 * (pair_gradient_kernel.h) with the tensor's accumulators two entries to a
 * 256-bit register: (tV, tW) of xx and yy, of zz and xy, of xz and yz,
 * each updated by one multiplication and one addition of (V, W, V, W).
 * The one-point gradient routine of the levels avx2 to avx512f_fma, built
 * for each (machine/level_functions.h); its divisions are those of SSE2
 * pairs, so the levels with FMA build the same operations.
 */
#include <immintrin.h>

#include "point/pair_gradient_kernel.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

namespace {

struct Policy {
    struct TensorAcc {
        __m256d q[T_ENTRIES / 2];
    };
    static void zeroTensor(TensorAcc& t) {
        for (int i = 0; i < T_ENTRIES / 2; i++) t.q[i] = _mm256_setzero_pd();
    }
    /* (tV, tW, tV', tW') += (cV, cW, cV', cW') (V, W, V, W): the factors of
       two entries lie side by side in the table. */
    static void addTensor(TensorAcc& t, const GradientFunction& g, __m128d vw) {
        const __m256d vwvw = _mm256_set_m128d(vw, vw);
#pragma GCC unroll 3
        for (int i = 0; i < T_ENTRIES / 2; i++)
            t.q[i] = _mm256_add_pd(t.q[i], _mm256_mul_pd(_mm256_load_pd(&g.c[4 * i]), vwvw));
    }
    static void finishTensor(const TensorAcc& t, double h[T_ENTRIES]) {
        double vw[2 * T_ENTRIES];
        for (int i = 0; i < T_ENTRIES / 2; i++) _mm256_storeu_pd(&vw[4 * i], t.q[i]);
        for (int e = 0; e < T_ENTRIES; e++) h[e] = (vw[2 * e] + vw[2 * e + 1]) * K3;
    }
};

}  // namespace

void pointGradient(const FieldInput& in, double T[9], double a[3], double* U) { pairGradient<Policy>(in, T, a, U); }

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
