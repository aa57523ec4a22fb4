/*
 * evaluate_gradient.cpp - the single-point gradient entry points: the
 * floating-point guard, then the one-point gradient routine of the routine
 * table (machine/routine_table.h: the tensor's sums two entries per 256-bit
 * register at the levels avx2 to avx512f_fma, SSE2 pairs at sse2).  Every
 * routine gives the bits of evaluateGradientPlain.
 */
#include "point/evaluate_gradient.h"

#include "machine/fixed_fp_state.h"
#include "machine/routine_table.h"

namespace geoharm {

void evaluateGradient(const FieldInput& in, double T[9], double a[3], double* U) {
    /* The fixed state for the call, the caller's back on return. */
    const FixedFpState fixedState;
    evaluateGradientUnguarded(in, T, a, U);
}

void evaluateGradientUnguarded(const FieldInput& in, double T[9], double a[3], double* U) {
    activeRoutines().pointGradient(in, T, a, U);
}

}  // namespace geoharm
