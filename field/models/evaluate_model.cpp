/*
 * evaluate_model.cpp - the entry points of a model's evaluation: the
 * floating-point guard, the compiled-in routines for the compiled-in
 * model, else the engine's routines of the routine table, many points
 * through the batch runner.
 */
#include "models/evaluate_model.h"

#include "machine/fixed_fp_state.h"
#include "machine/routine_table.h"
#include "many/batch_runner.h"
#include "many/evaluate_some_outputs_many.h"
#include "model/limit_argument.h"
#include "models/model_limits.h"
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

struct ModelBatch {
    const ModelData* model;
    ModelManyPoints routine;
    ModelLimits limits;
    const double *x, *y, *z;
    double *U, *ax, *ay, *az, *T;
};

double* at(double* out, std::size_t k) { return out != nullptr ? out + k : nullptr; }

void modelRun(const void* batch, std::size_t begin, std::size_t end) {
    const ModelBatch& b = *static_cast<const ModelBatch*>(batch);
    b.routine(*b.model, end - begin, b.x + begin, b.y + begin, b.z + begin, b.limits.degree, b.limits.order,
              at(b.U, begin), at(b.ax, begin), at(b.ay, begin), at(b.az, begin), b.T != nullptr ? b.T + 9 * begin : nullptr);
}

}  // namespace

void evaluateModel(const ModelData& model, const double position[3], int N, int M, double* U, double a[3],
                   double T[9]) {
    const FixedFpState fixedState;
    if (model.compiledIn) {
        compiledInPoint(position, N, M, U, a, T);
        return;
    }
    const ModelLimits limits = modelLimits(model.maxDegree, N, M);
    activeRoutines().modelOnePoint(model, position, limits.degree, limits.order, U, a, T);
}

void evaluateModelMany(const ModelData& model, std::size_t count, const double* x, const double* y, const double* z,
                       int N, int M, double* U, double* ax, double* ay, double* az, double* T) {
    if (count == 0) return;
    if (model.compiledIn) {
        evaluateSomeOutputsMany(count, x, y, z, limitArgument(N), limitArgument(M), U, ax, ay, az, T);
        return;
    }
    if (count == 1) {
        /* One point: the orders in the lanes beat a tile of one point (the
           same bits either way). */
        const double position[3] = {x[0], y[0], z[0]};
        const bool acceleration = ax != nullptr || ay != nullptr || az != nullptr;
        double a[3];
        evaluateModel(model, position, N, M, U, acceleration ? a : nullptr, T);
        if (ax != nullptr) ax[0] = a[0];
        if (ay != nullptr) ay[0] = a[1];
        if (az != nullptr) az[0] = a[2];
        return;
    }
    const ModelLimits limits = modelLimits(model.maxDegree, N, M);
    const std::size_t side = static_cast<std::size_t>(limits.degree) + 1;
    const std::size_t weight = (side * side + 120) / 121;
    const std::size_t granule = static_cast<std::size_t>(modelRunGranule(limits.degree));
    evaluateModelManyWith(activeRoutines(), batchThreads(count, weight, granule), model, count, x, y, z, N, M, U, ax,
                          ay, az, T);
}

void evaluateModelManyWith(const Routines& routines, int threads, const ModelData& model, std::size_t count,
                           const double* x, const double* y, const double* z, int N, int M, double* U, double* ax,
                           double* ay, double* az, double* T) {
    const FixedFpState fixedState;
    const ModelBatch b{&model, routines.modelManyPoints, modelLimits(model.maxDegree, N, M), x, y, z, U, ax, ay, az, T};
    runBatch(count, threads, static_cast<std::size_t>(modelRunGranule(b.limits.degree)), modelRun, &b);
}

}  // namespace geoharm
