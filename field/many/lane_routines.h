/*
 * lane_routines.h - the many-point evaluation with one point per vector
 * lane (lane_kernel.h), one routine per instruction set: SSE2 (two points
 * per register, every processor of the three builds), AVX2 (four) and
 * AVX-512F (eight), the latter two chosen at run time.
 */
#ifndef GEOHARM_LANE_ROUTINES_H
#define GEOHARM_LANE_ROUTINES_H

#include <cstddef>

namespace geoharm {

/*
 * evaluateLanesSse2, evaluateLanesAvx2, evaluateLanesAvx512 - the
 * acceleration at count points.
 *
 * Given:
 *   count      number of points (0: nothing is read or written)
 *   x, y, z    the positions, one coordinate per array (m)
 *   N, M       largest degree and order, already clamped to at most
 *              MAX_DEGREE (clampToModel); N <= 0 or M < 0: central term
 *              alone
 * Returned:
 *   ax, ay, az the accelerations (m/s^2), bit for bit those of
 *              evaluateAcceleration at each point (a NaN is the default
 *              NaN, default_nan.h)
 *
 * Notes:
 *   1. They run in the caller's floating-point state: the caller holds the
 *      fixed one (FixedFpState).
 *   2. evaluateLanesAvx2 only where cpuHasAvx2(), evaluateLanesAvx512 only
 *      where cpuHasAvx512f(); elsewhere they stop at the first instruction
 *      the processor lacks.
 */
void evaluateLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az);
void evaluateLanesAvx2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az);
void evaluateLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                         double* ax, double* ay, double* az);

}  // namespace geoharm

#endif
