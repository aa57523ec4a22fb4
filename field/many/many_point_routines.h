/*
 * many_point_routines.h - evaluateAccelerationMany and evaluateGradientMany
 * with the routines and the number of threads given, for the tests and the
 * benchmarks, which compare the levels and thread counts.
 */
#ifndef GEOHARM_MANY_POINT_ROUTINES_H
#define GEOHARM_MANY_POINT_ROUTINES_H

#include <cstddef>
#include <cstdint>

#include "machine/routine_table.h"

namespace geoharm {

/*
 * evaluateAccelerationManyWith - evaluateAccelerationMany (same arguments
 * and results) through the lane routine of the given table (a level's,
 * levelRoutines(), which the processor must run), with the points split
 * over the given number of threads (1..MAX_WORKER_THREADS, whatever the
 * processors) in runs of consecutive points, each a multiple of eight but
 * the last (batch_runner.h).
 */
void evaluateAccelerationManyWith(const Routines& routines, int threads, std::size_t count, const double* x,
                                  const double* y, const double* z, std::int8_t n, std::int8_t m, double* ax,
                                  double* ay, double* az);

/*
 * evaluateGradientManyWith - evaluateGradientMany (same arguments and
 * results) through the gradient lane routine of the given table, on the
 * given number of threads, as evaluateAccelerationManyWith.
 */
void evaluateGradientManyWith(const Routines& routines, int threads, std::size_t count, const double* x,
                              const double* y, const double* z, std::int8_t n, std::int8_t m, double* T, double* ax,
                              double* ay, double* az, double* U);

}  // namespace geoharm

#endif
