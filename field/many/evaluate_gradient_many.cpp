/*
 * evaluate_gradient_many.cpp - the gradient at many points through the
 * gradient lane routines (lane_routines.h), the widest the processor runs,
 * split over threads for large counts as evaluateAccelerationMany splits
 * them.  Every point's results are those of the single-point path whatever
 * the routine and the thread count.
 */
#include "many/evaluate_gradient_many.h"

#include <cstdlib>

#include "machine/fixed_fp_state.h"
#include "many/lane_routines.h"
#include "many/many_point_routines.h"
#include "many/worker_threads.h"
#include "model/field_limits.h"

namespace geoharm {

namespace {

using GradientRoutine = void (*)(std::size_t, const double*, const double*, const double*, int, int, double*,
                                 double*, double*, double*, double*);

GradientRoutine gradientRoutine(SimdLevel level) {
    switch (level) {
        case SimdLevel::AVX512F_FMA: return evaluateGradientLanesAvx512Fma;
        case SimdLevel::AVX512F: return evaluateGradientLanesAvx512;
        case SimdLevel::AVX2_FMA: return evaluateGradientLanesAvx2Fma;
        case SimdLevel::AVX2: return evaluateGradientLanesAvx2;
        default: return evaluateGradientLanesSse2;
    }
}

/* One call's points and how they are split. */
struct GradientBatch {
    GradientRoutine routine;
    int N, M;
    int parts;
    std::size_t count;
    const double *x, *y, *z;
    double *T, *ax, *ay, *az, *U;
};

/* Point offset p of an output that may be null. */
double* at(double* out, std::size_t p) { return out != nullptr ? out + p : nullptr; }

/* The points [begin, end) of the batch through its routine. */
void runRange(const GradientBatch& b, std::size_t begin, std::size_t end) {
    b.routine(end - begin, b.x + begin, b.y + begin, b.z + begin, b.N, b.M, b.T + 9 * begin, at(b.ax, begin),
              at(b.ay, begin), at(b.az, begin), at(b.U, begin));
}

/* One part, on whatever thread runs it, in a fixed state of its own. */
void runGradientPart(void* context, int i) {
    const GradientBatch& b = *static_cast<const GradientBatch*>(context);
    const FixedFpState fixedState;
    std::size_t begin, end;
    pointsOfPart(b.count, b.parts, i, begin, end);
    runRange(b, begin, end);
}

/* The evaluation, the caller's floating-point state already fixed. */
void evaluateGradientParts(GradientRoutine routine, int threads, std::size_t count, const double* x,
                           const double* y, const double* z, std::int8_t n, std::int8_t m, double* T, double* ax,
                           double* ay, double* az, double* U) {
    if (count == 0) return;
    GradientBatch b{routine, clampToModel(n), clampToModel(m), threads, count, x, y, z, T, ax, ay, az, U};
    if (b.parts > MAX_WORKER_THREADS) b.parts = MAX_WORKER_THREADS;
    if (b.parts <= 1) {
        runRange(b, 0, count);
        return;
    }
    runParts(b.parts, runGradientPart, &b);
}

}  // namespace

void evaluateGradientManyWith(SimdLevel routine, int threads, std::size_t count, const double* x, const double* y,
                              const double* z, std::int8_t n, std::int8_t m, double* T, double* ax, double* ay,
                              double* az, double* U) {
    const FixedFpState fixedState;
    evaluateGradientParts(gradientRoutine(routine), threads, count, x, y, z, n, m, T, ax, ay, az, U);
}

void evaluateGradientMany(std::size_t count, const double* x, const double* y, const double* z, std::int8_t n,
                          std::int8_t m, double* T, double* ax, double* ay, double* az, double* U) {
    /* One save and load of the caller's state for the whole batch. */
    const FixedFpState fixedState;
    if (count == 0) return;
    const int threads = count < 2 * MIN_POINTS_PER_THREAD
                            ? 1
                            : manyPointThreads(count, usableProcessors(), std::getenv("GEOHARM_NUM_THREADS"));
    evaluateGradientParts(gradientRoutine(processorSimdLevel()), threads, count, x, y, z, n, m, T, ax, ay, az, U);
}

}  // namespace geoharm
