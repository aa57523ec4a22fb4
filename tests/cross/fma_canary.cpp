/*
 * fma_canary.cpp - fused multiply-adds that the checker of the evaluation
 * code's instructions must reject even in a function of a level whose
 * name allows the exact division's sequence (check_fp_instructions.sh
 * --fma-only).  Compiled (never run) with AVX2, FMA and contraction.
 */
#include <immintrin.h>

namespace geoharm {

namespace avx2_fma {

/* A multiply-add that corrects no remainder. */
void strayCanary(const double* a, const double* b, double* c) {
    _mm256_storeu_pd(c, _mm256_fmadd_pd(_mm256_loadu_pd(a), _mm256_loadu_pd(b), _mm256_loadu_pd(c)));
}

/* A remainder that no multiply-add reads. */
void unreadCanary(const double* a, const double* b, double* c) {
    _mm256_storeu_pd(c, _mm256_fnmadd_pd(_mm256_loadu_pd(a), _mm256_loadu_pd(b), _mm256_loadu_pd(c)));
}

/* What contraction makes of a * b + c in a loop. */
double contractedCanary(const double* v, int n) {
    double s = 0.0;
    for (int i = 0; i < n; i++) s = s * v[i] + 1.0;
    return s;
}

}  // namespace avx2_fma

}  // namespace geoharm
