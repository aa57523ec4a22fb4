/*
 * evaluate_model.h - a gravity model of any degree (model_data.h) at one
 * point and at many: the potential, the acceleration and the
 * gravity-gradient tensor.
 */
#ifndef GEOHARM_EVALUATE_MODEL_H
#define GEOHARM_EVALUATE_MODEL_H

#include <cstddef>

#include "machine/routine_table.h"
#include "models/model_data.h"

namespace geoharm {

/*
 * evaluateModel - the model at one point.
 *
 * Given:
 *   model     the model
 *   position  x, y, z (m, the model's axes)
 *   N, M      largest degree and order (model_limits.h: above the model's
 *             degree means its degree; N <= 1 or M < 0 the central term)
 * Returned (each may be null: not wanted, and what only it needs is not
 * computed):
 *   U         the potential (m^2/s^2), a = grad U
 *   a         the acceleration a_x, a_y, a_z (m/s^2)
 *   T         the gradient tensor T[3i+j] = d a_i / d x_j (1/s^2), exactly
 *             symmetric
 *
 * Notes:
 *   1. The terms: degrees 0..N (C(0,0) as the model gives it: 0 leaves
 *      the harmonic part alone), orders 0..min(n, M).  The order of every
 *      operation is fixed (model_column.h, model_sums.h): the same bits
 *      on every build, at every level of vector routines, in every thread,
 *      from evaluateModelMany, whatever the caller's floating-point state
 *      (fixed on entry, given back on return); the acceleration and the
 *      potential are the same bits whether the tensor is wanted or not.
 *      Every NaN is the default NaN.
 *   2. A model equal to the compiled-in one (model->compiledIn) is
 *      evaluated by the compiled-in routines: their bits.
 *   3. One point takes the level's routine with the orders of the
 *      recursion in the lanes of its registers.
 */
void evaluateModel(const ModelData& model, const double position[3], int N, int M, double* U, double a[3],
                   double T[9]);

/*
 * evaluateModelMany - evaluateModel at count points (x[k], y[k], z[k]):
 * U[k], (ax[k], ay[k], az[k]), T[9k .. 9k+8], each output array null when
 * not wanted (ax, ay, az each on its own).  Point k's results are, bit
 * for bit, evaluateModel's.  The points are evaluated in tiles of several
 * points at once, one per vector lane, each tile reading the model's
 * tables once; from two tiles' worth of work per thread on, over threads
 * (the batch runner: GEOHARM_NUM_THREADS).  The outputs must not overlap
 * the inputs or each other.
 */
void evaluateModelMany(const ModelData& model, std::size_t count, const double* x, const double* y, const double* z,
                       int N, int M, double* U, double* ax, double* ay, double* az, double* T);

/*
 * evaluateModelManyWith - evaluateModelMany through the engine's routines
 * of the given table (a level's, levelRoutines(), which the processor
 * must run) on the given number of threads: for the tests and the
 * benchmarks, which compare the levels and thread counts.  The compiled-in
 * model too is evaluated by the engine here.
 */
void evaluateModelManyWith(const Routines& routines, int threads, const ModelData& model, std::size_t count,
                           const double* x, const double* y, const double* z, int N, int M, double* U, double* ax,
                           double* ay, double* az, double* T);

/*
 * evaluateModelPlain - evaluateModel's results by the plain stages
 * (scalars, each column, Horner's sums, one after the other), in the
 * caller's floating-point state: the reference of the vector routines.
 * Never the compiled-in routines.
 */
void evaluateModelPlain(const ModelData& model, const double position[3], int N, int M, double* U, double a[3],
                        double T[9]);

}  // namespace geoharm

#endif
