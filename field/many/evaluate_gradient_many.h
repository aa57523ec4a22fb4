/*
 * evaluate_gradient_many.h - the gradient tensor, the acceleration and the
 * potential at many points with one degree and order: the variational
 * equations of many trajectories, grids of gradients.
 */
#ifndef GEOHARM_EVALUATE_GRADIENT_MANY_H
#define GEOHARM_EVALUATE_GRADIENT_MANY_H

#include <cstddef>
#include <cstdint>

namespace geoharm {

/*
 * evaluateGradientMany - evaluateGradient at count points.
 *
 * Given:
 *   count      number of points (0: nothing is read or written)
 *   x, y, z    count positions, one coordinate per array (m)
 *   n, m       largest degree N and order M, as in FieldInput
 * Returned:
 *   T          9 count doubles (1/s^2): point k's tensor at T[9k .. 9k+8],
 *              T[9k + 3i + j] = d a_i / d x_j.  The tensor is exactly
 *              symmetric, so this is both the column-major 3-by-3-by-K
 *              array of MATLAB and the row-major (K, 3, 3) array of C and
 *              numpy.
 *   ax, ay, az count accelerations (m/s^2), or all three null
 *   U          count potentials (m^2/s^2), or null
 *
 * Notes:
 *   1. Point k's results are, bit for bit, evaluateGradient at point k;
 *      its acceleration is evaluateAcceleration's.
 *   2. Outputs that are null are not computed: the acceleration's terms
 *      (ax, ay, az null) or the potential's (U null) are left out, which
 *      changes no other result.  T must not be null when count > 0; ax, ay
 *      and az are either all null or none.
 *   3. The output arrays must not overlap the inputs or each other.
 *   4. Lanes, routines and threads as evaluateAccelerationMany (one point
 *      per vector lane, SSE2, AVX2 or AVX-512F as the processor runs,
 *      threads from 2 x 4096 points, GEOHARM_NUM_THREADS); neither changes
 *      a bit.  It computes in the fixed floating-point state and gives the
 *      caller's back on return.  Nothing is allocated on the heap.
 */
void evaluateGradientMany(std::size_t count, const double* x, const double* y, const double* z, std::int8_t n,
                          std::int8_t m, double* T, double* ax, double* ay, double* az, double* U);

}  // namespace geoharm

#endif
