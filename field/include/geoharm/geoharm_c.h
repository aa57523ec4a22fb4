/*
 * geoharm_c.h - the C interface of the degree-10 geopotential model
 * (installed as <geoharm/geoharm_c.h> with the shared library
 * libgeoharm.so.2 / geoharm.dll; pkg-config geoharm, or the CMake target
 * geoharm::c).
 *
 * The same evaluation as the C++ interface <geoharm/geoharm.h> (the
 * acceleration, the gravity gradient and the potential), with the
 * same guarantees, for programs in C and for any language that calls C
 * (Fortran through bind(C), Julia's ccall, Rust's extern "C", Python's
 * ctypes).  The library carries its C++ runtime inside: a C program links
 * it alone.
 *
 * Units and axes: positions in metres, Earth-fixed Cartesian axes with the
 * origin at the centre of mass; accelerations in m/s^2 in the same axes.
 *
 * Limits n (largest degree) and m (largest order), read as the MATLAB
 * functions read them:
 *   0..10             the terms up to that degree / order;
 *   above 10          the same as 10 (the model stops there);
 *   n <= 1 or m < 0   the central (point-mass) term alone;
 *   m > n             the same as m = n.
 *
 * What is guaranteed:
 *   1. Identical bits: every result is the same IEEE double, to the last
 *      bit, as from the C++ interface, the MATLAB and Octave functions and
 *      every other build, whatever the caller's compiler and options.
 *      geoharm_acceleration_many gives every point the bits of
 *      geoharm_acceleration, whatever the vector width and thread count.
 *   2. The floating-point state: each call computes in one fixed state
 *      (round to nearest, subnormals kept, exceptions masked) and gives the
 *      caller's back exactly as it was.
 *   3. Threads: calls from several threads at once are safe; nothing is
 *      kept from one call to the next.
 *   4. Non-finite and extreme positions pass through under IEEE rules (the
 *      origin gives NaN); nothing is reported and nothing traps.
 *
 * Pointers.  One that is not NULL must point to as many doubles as the
 * routine reads or writes there (3, 9, count or 9 count), and no output
 * may overlap an input or another output.  NULL is never an error (C has
 * no channel to report one):
 *   - a NULL input (position; x, y or z with count > 0): nothing is read
 *     or written, the outputs keep what they held;
 *   - a NULL output: not written; the others get the bits of a call with
 *     every output given;
 *   - geoharm_get_model(NULL) does nothing.
 *
 * The symbols are versioned (GEOHARM_2.0 on Linux): a program built against
 * this header runs with any later libgeoharm.so.2.
 */
#ifndef GEOHARM_GEOHARM_C_H
#define GEOHARM_GEOHARM_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The model's constants: GM (m^3/s^2, a single-precision value held exactly
   as a double), the reference radius (m), the highest degree and order. */
#define GEOHARM_GM 398600446148608.0
#define GEOHARM_R_REF 6378137.0
#define GEOHARM_MAX_DEGREE 10

/*
 * geoharm_acceleration - the gravitational acceleration at one point.
 *
 * Given:
 *   position  x, y, z (m)
 *   n, m      largest degree and order (see the limits above)
 * Returned:
 *   a         a_x, a_y, a_z (m/s^2)
 */
void geoharm_acceleration(const double position[3], int n, int m, double a[3]);

/*
 * geoharm_acceleration_many - geoharm_acceleration at count points with
 * one n and m.
 *
 * Given:
 *   count      number of points (0: nothing is read or written)
 *   x, y, z    count coordinates each (m): point k is (x[k], y[k], z[k])
 *   n, m       largest degree and order
 * Returned:
 *   ax, ay, az count components each (m/s^2), each or NULL (not written)
 *
 * Notes:
 *   1. From 8192 points on the points are shared among threads (at most
 *      the processors the process may use, at most the environment
 *      variable GEOHARM_NUM_THREADS); all are joined before the return.
 *   2. With one or two of ax, ay, az NULL the components not wanted are
 *      computed all the same, into the library's scratch memory, 256
 *      points at a time on the calling thread alone.
 */
void geoharm_acceleration_many(size_t count, const double* x, const double* y, const double* z, int n, int m,
                               double* ax, double* ay, double* az);

/*
 * geoharm_gradient - the gravity-gradient tensor, the acceleration and the
 * potential at one point, from one evaluation of the model.
 *
 * Given:
 *   position  x, y, z (m)
 *   n, m      largest degree and order
 * Returned:
 *   t         9 doubles: t[3i+j] = d a_i / d x_j (1/s^2), exactly
 *             symmetric; or NULL (not written)
 *   a         a_x, a_y, a_z (m/s^2), or NULL: the bits of
 *             geoharm_acceleration
 *   u         the potential (m^2/s^2, a = grad u), or NULL
 */
void geoharm_gradient(const double position[3], int n, int m, double t[9], double a[3], double* u);

/*
 * geoharm_gradient_many - geoharm_gradient at count points with one n and
 * m; point k's results have, bit for bit, geoharm_gradient's.
 *
 * Given:
 *   count      number of points
 *   x, y, z    count coordinates each (m)
 *   n, m       largest degree and order
 * Returned:
 *   t          9 count doubles, point k's tensor at t[9k .. 9k+8], or
 *              NULL
 *   ax, ay, az count accelerations each (m/s^2), each or NULL
 *   u          count potentials (m^2/s^2), or NULL
 *
 * Notes:
 *   1. Outputs passed as NULL are not written.  The acceleration (ax, ay,
 *      az all NULL) and the potential (u NULL) are then not computed, which
 *      saves time; without t and u the call is geoharm_acceleration_many's.
 *   2. What a call leaves NULL but the evaluation computes all the same
 *      (the tensor when u is wanted; one or two of ax, ay, az) goes to the
 *      library's scratch memory, 256 points at a time, on the calling
 *      thread alone.
 *   3. Vector lanes and threads as geoharm_acceleration_many.
 */
void geoharm_gradient_many(size_t count, const double* x, const double* y, const double* z, int n, int m, double* t,
                           double* ax, double* ay, double* az, double* u);

/* geoharm_version - the library's version, "MAJOR.MINOR.PATCH" (static
   storage; do not free). */
const char* geoharm_version(void);

/*
 * struct geoharm_model - the model as the evaluation holds it.
 *
 *   gm, r_ref, max_degree   GEOHARM_GM, GEOHARM_R_REF, GEOHARM_MAX_DEGREE
 *   c[n][m], s[n][m]        unnormalised coefficients of degree n and order
 *                           m (zero for n < 2, m > n, and s[n][0]); each is
 *                           a single-precision value held exactly as a
 *                           double
 */
struct geoharm_model {
    double gm;
    double r_ref;
    int max_degree;
    double c[GEOHARM_MAX_DEGREE + 1][GEOHARM_MAX_DEGREE + 1];
    double s[GEOHARM_MAX_DEGREE + 1][GEOHARM_MAX_DEGREE + 1];
};

/* geoharm_get_model - fills *model from the compiled tables. */
void geoharm_get_model(struct geoharm_model* model);

#ifdef __cplusplus
}
#endif

#endif
