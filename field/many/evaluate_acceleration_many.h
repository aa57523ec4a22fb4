/*
 * evaluate_acceleration_many.h - the acceleration of the degree-10 model at
 * many points with one degree and order: the field's entry point for grids,
 * many satellites and Monte-Carlo runs.
 */
#ifndef GEOHARM_EVALUATE_ACCELERATION_MANY_H
#define GEOHARM_EVALUATE_ACCELERATION_MANY_H

#include <cstddef>
#include <cstdint>

namespace geoharm {

/*
 * evaluateAccelerationMany - evaluateAcceleration at count points.
 *
 * Given:
 *   count      number of points (0 is allowed: nothing is read or written)
 *   x, y, z    count positions, one coordinate per array (m, Earth-fixed
 *              axes): point k is (x[k], y[k], z[k])
 *   n, m       largest degree N and order M, as in FieldInput (int8; above
 *              10 clamped to 10; N <= 1 or M < 0: the central term alone)
 * Returned:
 *   ax, ay, az count accelerations, one component per array (m/s^2)
 *
 * Notes:
 *   1. Point k's result is, bit for bit, evaluateAcceleration of
 *      (x[k], y[k], z[k], n, m), whatever the routine and thread count.
 *   2. It computes in the fixed floating-point state of fixed_fp_state.h
 *      and gives the caller's state back on return, as evaluateAcceleration
 *      does.
 *   3. The output arrays must not overlap the inputs or each other.
 *   4. Several points are evaluated at once, one per vector lane, through
 *      the level's lane routine (machine/routine_table.h; AVX-512F: eight
 *      points per instruction, AVX2: four, SSE2: two), each lane with the
 *      single-point operations on its own point; points left over at the
 *      end run with padding lanes whose results are dropped.
 *   5. From 2 x 4096 points on, the points are split over threads by the
 *      batch runner (batch_runner.h): one per 4096 points, at most the
 *      processors the process may use (its affinity mask) and at most
 *      GEOHARM_NUM_THREADS, read once (machine/settings.h).  Every thread
 *      is joined before the return; no state outlives the call, and
 *      nothing is allocated on the heap.
 */
void evaluateAccelerationMany(std::size_t count, const double* x, const double* y, const double* z,
                              std::int8_t n, std::int8_t m, double* ax, double* ay, double* az);

}  // namespace geoharm

#endif
