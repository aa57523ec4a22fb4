/*
 * geoharm.h - the one header a C++ program includes to evaluate the
 * degree-10 geopotential model (installed as <geoharm/geoharm.h> with the
 * static library geoharm::field; find_package(geoharm CONFIG)).
 *
 * It declares what a program calls and nothing else:
 *   acceleration      the acceleration at one point
 *   accelerationMany  the acceleration at many points with one N and M
 *   gradient          the gravity-gradient tensor, the acceleration and
 *                     the potential at one point
 *   gradientMany      the same at many points with one N and M
 *   version           the library's version
 *   simdLevel, simdLevelProblem  the vector routines in use, or why the
 *                     ones GEOHARM_SIMD_LEVEL names cannot be
 *   model             the model's numbers: GM, R_REF, the coefficient
 *                     tables (struct Model)
 *   GM, R_REF, MAX_DEGREE   the model's constants (<geoharm/model.h>)
 *   GravityModel      any other model, of any degree, loaded from an ICGEM
 *                     file or made from tables (<geoharm/gravity_model.h>)
 *
 * Units and axes: positions in metres, Earth-fixed Cartesian axes with the
 * origin at the centre of mass; accelerations in m/s^2 in the same axes;
 * the gradient tensor T(i,j) = d a_i / d x_j in 1/s^2; the potential U
 * (a = grad U, GM/r for the point mass) in m^2/s^2.
 *
 * Limits N (largest degree) and M (largest order), plain int, read as the
 * MATLAB functions read them:
 *   0..10             the terms up to that degree / order;
 *   above 10          the same as 10 (the model stops there; 200 is 10);
 *   N <= 1 or M < 0   the central (point-mass) term alone (degree 1 has
 *                     no terms);
 *   M > N             the same as M = N.
 *
 * What is guaranteed:
 *   1. Identical bits.  Every operation is an IEEE double rounded on its
 *      own, in a fixed order, inside the library, which is built with
 *      contraction off and without fast-math.  A program gets the same
 *      result, to the last bit, as the MATLAB and Octave functions and
 *      every other build, whatever compiler options it uses itself:
 *      nothing is computed inline in the caller.  The many-point routine
 *      gives every point the bits of the one-point routine, whatever the
 *      processor's vector width and the number of threads.
 *   2. The floating-point state.  Every routine computes in one fixed
 *      state (round to nearest, subnormals kept, every exception masked)
 *      and gives the caller's state back exactly as it was: a caller's
 *      rounding mode, flush-to-zero or unmasked exceptions change neither
 *      the bits nor the outcome (no trap, not even at the origin).
 *   3. Threads.  Calls from several threads at once are safe; nothing is
 *      kept from one call to the next.
 *   4. Non-finite and extreme positions pass through under IEEE rules
 *      (the origin gives NaN); nothing is reported and nothing traps.
 *      Every NaN returned is the default quiet NaN 0x7FF8000000000000,
 *      whatever NaN or invalid operation it came from: the same bits on
 *      every build, processor and routine, NaN included.
 */
#ifndef GEOHARM_GEOHARM_H
#define GEOHARM_GEOHARM_H

#include <cstddef>

#include "geoharm/gravity_model.h"
#include "geoharm/model.h"

namespace geoharm {

/*
 * acceleration - the gravitational acceleration at one point: the central
 * term plus the harmonic terms of degree 2..N and order 0..min(n, M).
 *
 * Given:
 *   position  x, y, z (m, Earth-fixed axes)
 *   N, M      largest degree and order (see the limits above)
 * Returned:
 *   a         a_x, a_y, a_z (m/s^2), same axes
 */
void acceleration(const double position[3], int N, int M, double a[3]);

/*
 * accelerationMany - acceleration() at count points with one N and M.
 *
 * Given:
 *   count      number of points (0: nothing is read or written)
 *   x, y, z    count positions, one coordinate per array (m): point k is
 *              (x[k], y[k], z[k])
 *   N, M       largest degree and order, as for acceleration()
 * Returned:
 *   ax, ay, az count accelerations, one component per array (m/s^2)
 *
 * Notes:
 *   1. Point k's result is, bit for bit, acceleration() at point k.
 *   2. The output arrays must not overlap the inputs or each other.
 *   3. Several points are evaluated at once, one per lane of the widest
 *      vector registers the processor runs (SSE2, AVX2, AVX-512F), and
 *      from 8192 points on over several threads: one per 4096 points, at
 *      most the processors the process may use and at most the whole
 *      number in the environment variable GEOHARM_NUM_THREADS (1: the
 *      calling thread alone).  Every thread is joined before the return.
 */
void accelerationMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                      double* ax, double* ay, double* az);

/*
 * gradient - the gravity-gradient tensor, the acceleration and the
 * potential at one point, from one evaluation of the model.
 *
 * Given:
 *   position  x, y, z (m, Earth-fixed axes)
 *   N, M      largest degree and order (see the limits above)
 * Returned:
 *   T         9 doubles: T[3i+j] = d a_i / d x_j (1/s^2), i, j = x, y, z.
 *             Exactly symmetric (six entries formed, each stored twice),
 *             so row- and column-major storage are the same.
 *   a         a_x, a_y, a_z (m/s^2), or null: bit for bit acceleration()
 *   U         the potential (m^2/s^2), or null
 *
 * Notes:
 *   1. N <= 1 or M < 0: the point mass alone, T = GM (3 x x'/r^5 - I/r^3)
 *      and U = GM/r exactly (one rounding).
 *   2. Accuracy, against an independent 113-bit evaluation of the same
 *      model from the reference radius to 1e8 m: every entry of T within
 *      1e-14 of T's Frobenius norm, U within 1e-14 relative, the trace
 *      zero within 1e-14 of the norm (the tests' bounds; the worst errors
 *      measured are below 1e-15: docs/gradient.md).
 *   3. Guarantees 1 to 4 above hold: the same bits on every build and
 *      through gradientMany, the caller's floating-point state kept, safe
 *      from several threads, non-finite positions under IEEE rules (the
 *      origin gives NaN).
 */
void gradient(const double position[3], int N, int M, double T[9], double a[3], double* U);

/*
 * gradientMany - gradient() at count points with one N and M.
 *
 * Given:
 *   count      number of points (0: nothing is read or written)
 *   x, y, z    count positions, one coordinate per array (m)
 *   N, M       largest degree and order, as for acceleration()
 * Returned:
 *   T          9 count doubles: point k's tensor at T[9k .. 9k+8], as
 *              gradient() stores it (so a (count, 3, 3) array in C or
 *              numpy, a 3-by-3-by-count array in MATLAB)
 *   ax, ay, az count accelerations (m/s^2), or all three null
 *   U          count potentials (m^2/s^2), or null
 *
 * Notes:
 *   1. Point k's results are, bit for bit, gradient() at point k.
 *   2. Outputs passed as null are not computed (cheaper): the acceleration
 *      (ax, ay, az all null) or the potential (U null); the others keep
 *      their bits.
 *   3. The output arrays must not overlap the inputs or each other.
 *   4. Vector lanes and threads as accelerationMany (GEOHARM_NUM_THREADS).
 */
void gradientMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* T,
                  double* ax, double* ay, double* az, double* U);

/* version - the library's version, "MAJOR.MINOR.PATCH". */
const char* version();

/*
 * simdLevel - the level of vector routines the many-point routines use:
 * "sse2", "avx2", "avx2_fma", "avx512f" or "avx512f_fma" (one point may
 * take another level of the same processor: docs/performance.md).  Chosen
 * once, for the processor, or as the environment variable
 * GEOHARM_SIMD_LEVEL names it, read once when the library is loaded.
 * Every level gives the same bits.
 *
 * simdLevelProblem - null, or why GEOHARM_SIMD_LEVEL cannot be used (a
 * name that is no level, a level this processor does not run).  Then
 * simdLevel() is "refused" and every evaluation writes the default NaN to
 * each of its outputs: nothing is evaluated with routines other than
 * those asked for.
 */
const char* simdLevel();
const char* simdLevelProblem();

/*
 * model - the model the library evaluates: GM, R_REF, MAX_DEGREE and the
 * coefficient tables as the evaluation holds them (see struct Model in
 * <geoharm/model.h>), read from the compiled tables themselves.
 */
Model model();

}  // namespace geoharm

#endif
