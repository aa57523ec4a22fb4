/*
 * evaluate_model.cpp - the entry points of a model's evaluation: the
 * floating-point guard, the compiled-in routines for the compiled-in
 * model, else the engine's routines of the routine table.
 */
#include "models/evaluate_model.h"

#include "api/limit_argument.h"
#include "machine/fixed_fp_state.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"

namespace geoharm {

namespace {

/* The compiled-in model's routines at one point, in the fixed state. */
void compiledInPoint(const double position[3], int N, int M, double* U, double a[3], double T[9]) {
    const FieldInput in{position[0], position[1], position[2], limitArgument(N), limitArgument(M)};
    if (U == nullptr && T == nullptr) {
        if (a != nullptr) evaluateAccelerationUnguarded(in, a);
        return;
    }
    double scratchT[9];
    evaluateGradientUnguarded(in, T != nullptr ? T : scratchT, a, U);
}

}  // namespace

void evaluateModel(const ModelData& model, const double position[3], int N, int M, double* U, double a[3],
                   double T[9]) {
    const FixedFpState fixedState;
    if (model.compiledIn) {
        compiledInPoint(position, N, M, U, a, T);
        return;
    }
    evaluateModelPlain(model, position, N, M, U, a, T);
}

}  // namespace geoharm
