/*
 * evaluate_gradient.cpp - the single-point gradient entry points: the
 * floating-point guard, then the widest routine the processor runs (the
 * tensor's sums two entries per 256-bit register where it has AVX2, SSE2
 * pairs otherwise).  Both give the bits of evaluateGradientPlain.
 */
#include "point/evaluate_gradient.h"

#include "machine/cpu_features.h"
#include "machine/fixed_fp_state.h"
#include "point/gradient_routines.h"

namespace geoharm {

void evaluateGradient(const FieldInput& in, double T[9], double a[3], double* U) {
    /* The fixed state for the call, the caller's back on return. */
    const FixedFpState fixedState;
    evaluateGradientUnguarded(in, T, a, U);
}

void evaluateGradientUnguarded(const FieldInput& in, double T[9], double a[3], double* U) {
    if (processorSimdLevel() >= SimdLevel::AVX2)
        evaluateGradientAvx2(in, T, a, U);
    else
        evaluateGradientSse2(in, T, a, U);
}

}  // namespace geoharm
