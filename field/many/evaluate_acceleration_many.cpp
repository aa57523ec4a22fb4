/*
 * evaluate_acceleration_many.cpp - many points through the level's lane
 * routine (lane_kernel.h), run by the batch runner (batch_runner.h).
 */
#include "many/evaluate_acceleration_many.h"

#include "machine/fixed_fp_state.h"
#include "many/batch_runner.h"
#include "many/many_point_routines.h"
#include "model/field_limits.h"

namespace geoharm {

namespace {

struct AccelerationBatch {
    AccelerationLanes lanes;
    int N, M;
    const double *x, *y, *z;
    double *ax, *ay, *az;
};

void accelerationRun(const void* batch, std::size_t begin, std::size_t end) {
    const AccelerationBatch& b = *static_cast<const AccelerationBatch*>(batch);
    b.lanes(end - begin, b.x + begin, b.y + begin, b.z + begin, b.N, b.M, b.ax + begin, b.ay + begin, b.az + begin);
}

}  // namespace

void evaluateAccelerationManyWith(const Routines& routines, int threads, std::size_t count, const double* x,
                                  const double* y, const double* z, std::int8_t n, std::int8_t m, double* ax,
                                  double* ay, double* az) {
    const FixedFpState fixedState;
    const AccelerationBatch b{routines.accelerationLanes, clampToModel(n), clampToModel(m), x, y, z, ax, ay, az};
    runBatch(count, threads, 8, accelerationRun, &b);
}

void evaluateAccelerationMany(std::size_t count, const double* x, const double* y, const double* z,
                              std::int8_t n, std::int8_t m, double* ax, double* ay, double* az) {
    evaluateAccelerationManyWith(activeRoutines(), batchThreads(count), count, x, y, z, n, m, ax, ay, az);
}

}  // namespace geoharm
