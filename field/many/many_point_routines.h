/*
 * many_point_routines.h - the parts of evaluateAccelerationMany and
 * evaluateGradientMany that tests and the benchmark reach directly: a
 * given lane routine on a given number of threads, and the rule that sets
 * the number of threads.
 */
#ifndef GEOHARM_MANY_POINT_ROUTINES_H
#define GEOHARM_MANY_POINT_ROUTINES_H

#include <cstddef>
#include <cstdint>

#include "machine/cpu_features.h"

namespace geoharm {

/* Points per thread below which no further thread is started: starting
   and joining one costs about as much as evaluating a few thousand
   points. */
constexpr std::size_t MIN_POINTS_PER_THREAD = 4096;

/*
 * manyPointThreads - the number of threads for count points.
 *
 * Given:
 *   count       number of points
 *   processors  processors the process may use (usableProcessors())
 *   limit       the text of GEOHARM_NUM_THREADS, or null when unset
 * Returned:
 *   1 .. processors: one thread per MIN_POINTS_PER_THREAD points (at
 *   least one), at most processors, and at most the limit when that is a
 *   whole number >= 1 (1: the calling thread alone).  A limit that is not
 *   such a number (empty, 0, negative, with other characters) is ignored.
 */
int manyPointThreads(std::size_t count, int processors, const char* limit);

/*
 * evaluateAccelerationManyWith - evaluateAccelerationMany (same arguments
 * and results) through the lane routine of the given level, with the
 * points split over the given number of threads (1..MAX_WORKER_THREADS,
 * whatever the processors; each thread gets a run of consecutive points,
 * a multiple of eight except the last).  The routine must be one the
 * processor runs (level <= processorSimdLevel()).
 */
void evaluateAccelerationManyWith(SimdLevel routine, int threads, std::size_t count, const double* x,
                                  const double* y, const double* z, std::int8_t n, std::int8_t m, double* ax,
                                  double* ay, double* az);

/*
 * evaluateGradientManyWith - evaluateGradientMany (same arguments and
 * results) through the gradient lane routine of the given level, on the
 * given number of threads, as evaluateAccelerationManyWith.
 */
void evaluateGradientManyWith(SimdLevel routine, int threads, std::size_t count, const double* x, const double* y,
                              const double* z, std::int8_t n, std::int8_t m, double* T, double* ax, double* ay,
                              double* az, double* U);

}  // namespace geoharm

#endif
