/*
 * evaluate_gradient.cpp - the single-point gradient entry points: the
 * floating-point guard, then the level's one-point gradient routine
 * (machine/routine_table.h), each with the bits of evaluateGradientPlain.
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
