/*
 * evaluate_acceleration_many.cpp - many points through the lane routines
 * (one point per vector lane, lane_routines.h), the widest the processor
 * runs, split over threads for large counts.  Every point's result is that
 * of the single-point path whatever the routine and the thread count: each
 * lane and each point is evaluated on its own.
 */
#include "many/evaluate_acceleration_many.h"

#include <cstdlib>

#include "model/field_limits.h"
#include "machine/fixed_fp_state.h"
#include "many/lane_routines.h"
#include "many/many_point_routines.h"
#include "many/worker_threads.h"

namespace geoharm {

namespace {

using LaneRoutine = void (*)(std::size_t, const double*, const double*, const double*, int, int, double*, double*,
                             double*);

LaneRoutine laneRoutine(SimdLevel level) {
    switch (level) {
        case SimdLevel::AVX512F_FMA: return evaluateLanesAvx512Fma;
        case SimdLevel::AVX512F: return evaluateLanesAvx512;
        case SimdLevel::AVX2_FMA: return evaluateLanesAvx2Fma;
        case SimdLevel::AVX2: return evaluateLanesAvx2;
        default: return evaluateLanesSse2;
    }
}

/* One call's points and how they are split. */
struct Batch {
    LaneRoutine routine;
    int N, M;
    int parts;
    std::size_t count;
    const double *x, *y, *z;
    double *ax, *ay, *az;
};

/* One part, on whatever thread runs it: that thread's floating-point state
   fixed for the part (a new thread does not reliably inherit the caller's,
   and the caller's own is already fixed, which a second guard keeps). */
void runPart(void* context, int i) {
    const Batch& b = *static_cast<const Batch*>(context);
    const FixedFpState fixedState;
    std::size_t begin, end;
    pointsOfPart(b.count, b.parts, i, begin, end);
    b.routine(end - begin, b.x + begin, b.y + begin, b.z + begin, b.N, b.M, b.ax + begin, b.ay + begin,
              b.az + begin);
}

/* The evaluation, the caller's floating-point state already fixed. */
void evaluateParts(LaneRoutine routine, int threads, std::size_t count, const double* x, const double* y,
                   const double* z, std::int8_t n, std::int8_t m, double* ax, double* ay, double* az) {
    if (count == 0) return;
    Batch b{routine, clampToModel(n), clampToModel(m), threads, count, x, y, z, ax, ay, az};
    if (b.parts > MAX_WORKER_THREADS) b.parts = MAX_WORKER_THREADS;
    if (b.parts <= 1) {
        routine(count, x, y, z, b.N, b.M, ax, ay, az);
        return;
    }
    runParts(b.parts, runPart, &b);
}

}  // namespace

int manyPointThreads(std::size_t count, int processors, const char* limit) {
    /* One thread per MIN_POINTS_PER_THREAD points, at most the processors. */
    const std::size_t wanted = count / MIN_POINTS_PER_THREAD;
    int threads = processors < 1 ? 1 : processors;
    if (wanted < static_cast<std::size_t>(threads)) threads = wanted < 1 ? 1 : static_cast<int>(wanted);

    /* GEOHARM_NUM_THREADS: decimal digits alone, a value from 1 up. */
    if (limit != nullptr && *limit != '\0') {
        long value = 0;
        const char* c = limit;
        for (; *c >= '0' && *c <= '9'; c++) {
            value = value * 10 + (*c - '0');
            if (value > MAX_WORKER_THREADS) value = MAX_WORKER_THREADS;
        }
        if (*c == '\0' && value >= 1 && value < threads) threads = static_cast<int>(value);
    }
    return threads;
}

void evaluateAccelerationManyWith(SimdLevel routine, int threads, std::size_t count, const double* x,
                                  const double* y, const double* z, std::int8_t n, std::int8_t m, double* ax,
                                  double* ay, double* az) {
    const FixedFpState fixedState;
    evaluateParts(laneRoutine(routine), threads, count, x, y, z, n, m, ax, ay, az);
}

void evaluateAccelerationMany(std::size_t count, const double* x, const double* y, const double* z,
                              std::int8_t n, std::int8_t m, double* ax, double* ay, double* az) {
    /* One save and load of the caller's state for the whole batch. */
    const FixedFpState fixedState;
    if (count == 0) return;
    /* Below two threads' worth of points, neither the processors nor the
       environment are asked: one thread whatever they say. */
    const int threads = count < 2 * MIN_POINTS_PER_THREAD
                            ? 1
                            : manyPointThreads(count, usableProcessors(), std::getenv("GEOHARM_NUM_THREADS"));
    evaluateParts(laneRoutine(processorSimdLevel()), threads, count, x, y, z, n, m, ax, ay, az);
}

}  // namespace geoharm
