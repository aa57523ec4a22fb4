/*
 * lane_routines.h - the many-point evaluation with one point per vector
 * lane (lane_kernel.h), one routine per level of cpu_features.h: SSE2 (two
 * points per register, every processor of the three builds), AVX2 (four),
 * AVX-512F (eight), each of the latter dividing with the divider or, in
 * its FMA variant, with the exact division by fused multiply-add
 * (lane_divide.h); chosen at run time.
 */
#ifndef GEOHARM_LANE_ROUTINES_H
#define GEOHARM_LANE_ROUTINES_H

#include <cstddef>

namespace geoharm {

/*
 * evaluateLanesSse2, evaluateLanesAvx2, evaluateLanesAvx2Fma,
 * evaluateLanesAvx512, evaluateLanesAvx512Fma - the acceleration at count
 * points.
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
 *   2. Each only where processorRuns() its level (AVX2, AVX2_FMA, AVX512F,
 *      AVX512F_FMA); elsewhere they stop at the first instruction the
 *      processor lacks.
 */
void evaluateLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az);
void evaluateLanesAvx2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az);
void evaluateLanesAvx2Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                          double* ax, double* ay, double* az);
void evaluateLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                         double* ax, double* ay, double* az);
void evaluateLanesAvx512Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                            double* ax, double* ay, double* az);

/*
 * evaluateGradientLanesSse2, evaluateGradientLanesAvx2,
 * evaluateGradientLanesAvx2Fma, evaluateGradientLanesAvx512,
 * evaluateGradientLanesAvx512Fma - the gradient tensor, the acceleration and
 * the potential at count points (gradient_lane_kernel.h).
 *
 * Given:
 *   count, x, y, z, N, M   as above
 * Returned:
 *   T          9 count doubles, point k's tensor at T[9k .. 9k+8] (1/s^2),
 *              bit for bit those of evaluateGradient
 *   ax, ay, az the accelerations (m/s^2), or all three null (not computed)
 *   U          the potentials (m^2/s^2), or null (not computed)
 *
 * Notes: as above (the caller's state, the processors they need).
 */
void evaluateGradientLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U);
void evaluateGradientLanesAvx2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U);
void evaluateGradientLanesAvx2Fma(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                                  double* T, double* ax, double* ay, double* az, double* U);
void evaluateGradientLanesAvx512(std::size_t count, const double* x, const double* y, const double* z, int N,
                                 int M, double* T, double* ax, double* ay, double* az, double* U);
void evaluateGradientLanesAvx512Fma(std::size_t count, const double* x, const double* y, const double* z, int N,
                                    int M, double* T, double* ax, double* ay, double* az, double* U);

}  // namespace geoharm

#endif
