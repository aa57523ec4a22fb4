/*
 * evaluate_gradient_many.cpp - the gradient at many points through the
 * level's gradient lane routine (gradient_lane_kernel.h), run by the batch
 * runner (batch_runner.h).
 */
#include "many/evaluate_gradient_many.h"

#include "machine/fixed_fp_state.h"
#include "many/batch_runner.h"
#include "many/many_point_routines.h"
#include "model/field_limits.h"

namespace geoharm {

namespace {

struct GradientBatch {
    GradientLanes lanes;
    int N, M;
    const double *x, *y, *z;
    double *T, *ax, *ay, *az, *U;
};

/* Point offset p of an output that may be null. */
double* at(double* out, std::size_t p) { return out != nullptr ? out + p : nullptr; }

void gradientRun(const void* batch, std::size_t begin, std::size_t end) {
    const GradientBatch& b = *static_cast<const GradientBatch*>(batch);
    b.lanes(end - begin, b.x + begin, b.y + begin, b.z + begin, b.N, b.M, b.T + 9 * begin, at(b.ax, begin),
            at(b.ay, begin), at(b.az, begin), at(b.U, begin));
}

}  // namespace

void evaluateGradientManyWith(const Routines& routines, int threads, std::size_t count, const double* x,
                              const double* y, const double* z, std::int8_t n, std::int8_t m, double* T, double* ax,
                              double* ay, double* az, double* U) {
    const FixedFpState fixedState;
    const GradientBatch b{routines.gradientLanes, clampToModel(n), clampToModel(m), x, y, z, T, ax, ay, az, U};
    runBatch(count, threads, 8, gradientRun, &b);
}

void evaluateGradientMany(std::size_t count, const double* x, const double* y, const double* z, std::int8_t n,
                          std::int8_t m, double* T, double* ax, double* ay, double* az, double* U) {
    evaluateGradientManyWith(activeRoutines(), batchThreads(count), count, x, y, z, n, m, T, ax, ay, az, U);
}

}  // namespace geoharm
