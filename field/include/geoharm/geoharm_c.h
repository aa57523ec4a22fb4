/*
 * geoharm_c.h - the C interface of the degree-10 geopotential model
 * (installed as <geoharm/geoharm_c.h> with the shared library
 * libgeoharm.so.3 / geoharm.dll; pkg-config geoharm, or the CMake target
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
 * The symbols are versioned (GEOHARM_3.0 on Linux): a program built against
 * this header runs with any later libgeoharm.so.3.
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

/*
 * geoharm_gravity_model - any spherical-harmonic gravity model (of degree
 * up to GEOHARM_MAX_MODEL_DEGREE): loaded from an ICGEM file or made from
 * a program's tables, and evaluated as the compiled-in model is, with the
 * same guarantees (docs/models.md).  An opaque handle: made by
 * geoharm_gravity_model_load or geoharm_gravity_model_from_tables, freed
 * by geoharm_gravity_model_free; never changed in between, so calls from
 * several threads at once, on one model or several, are safe.
 *
 * Limits n and m as above, with the model's degree in place of 10.
 * C(0,0) is taken as the model gives it (0 leaves the harmonic part).
 * NULL: a NULL model is read as a NULL input (nothing is written).
 */
typedef struct geoharm_gravity_model geoharm_gravity_model;

#define GEOHARM_MAX_MODEL_DEGREE 2700

/* The normalisation of a table's coefficients: fully normalised (the 4-pi
   normalisation of geodesy, without the Condon-Shortley phase) or none. */
#define GEOHARM_FULLY_NORMALIZED 0
#define GEOHARM_UNNORMALIZED 1

/*
 * geoharm_gravity_model_load - the model of an ICGEM file (.gfc, formats
 * 1.0 and 2.0).
 *
 * Given:
 *   path          the file's path (UTF-8)
 *   epoch         the epoch of its time-variable terms: a decimal year
 *                 ("2010.5") or a date "yyyy-mm-dd"; NULL for none (a file
 *                 with such terms is then refused)
 *   message_size  the size of message in bytes (0: no message)
 * Returned:
 *   message       why the file was refused, "<file>:<line>: <what>"
 *                 (NUL-terminated, cut to message_size); or NULL
 * Returns the model, or NULL when the file is refused (path NULL included)
 * or memory is short.
 */
geoharm_gravity_model* geoharm_gravity_model_load(const char* path, const char* epoch, char* message,
                                                  size_t message_size);

/*
 * geoharm_gravity_model_from_tables - a model from a program's tables.
 *
 * Given:
 *   gm, radius      GM (m^3/s^2) and the reference radius (m), finite and
 *                   above zero
 *   max_degree      L, 0..GEOHARM_MAX_MODEL_DEGREE
 *   c, s            (L+1)^2 doubles each, row by row: c[n (L+1) + m] is
 *                   C(n,m); entries with m > n and S(n,0) zero, every one
 *                   finite
 *   normalization   GEOHARM_FULLY_NORMALIZED or GEOHARM_UNNORMALIZED (an
 *                   unnormalised model is converted)
 *   name            the model's name, or NULL (its first 127 bytes kept,
 *                   cut at a character boundary of its UTF-8)
 *   message_size    as geoharm_gravity_model_load
 * Returned:
 *   message         why the tables were refused, or NULL
 * Returns the model, or NULL (c or s NULL, a value out of range).
 */
geoharm_gravity_model* geoharm_gravity_model_from_tables(double gm, double radius, int max_degree, const double* c,
                                                         const double* s, int normalization, const char* name,
                                                         char* message, size_t message_size);

/* geoharm_gravity_model_free - frees the model (NULL: nothing). */
void geoharm_gravity_model_free(geoharm_gravity_model* model);

/* The model's GM (m^3/s^2), reference radius (m) and degree L; for a NULL
   model NaN, NaN and -1. */
double geoharm_gravity_model_gm(const geoharm_gravity_model* model);
double geoharm_gravity_model_radius(const geoharm_gravity_model* model);
int geoharm_gravity_model_max_degree(const geoharm_gravity_model* model);

/* The acceleration at one point, as geoharm_acceleration. */
void geoharm_gravity_model_acceleration(const geoharm_gravity_model* model, const double position[3], int n, int m,
                                        double a[3]);

/* The acceleration at count points, as geoharm_acceleration_many (each
   output or NULL; the many-point routines, over threads). */
void geoharm_gravity_model_acceleration_many(const geoharm_gravity_model* model, size_t count, const double* x,
                                             const double* y, const double* z, int n, int m, double* ax, double* ay,
                                             double* az);

/* The tensor, acceleration and potential at one point, as
   geoharm_gradient. */
void geoharm_gravity_model_gradient(const geoharm_gravity_model* model, const double position[3], int n, int m,
                                    double t[9], double a[3], double* u);

/* The same at count points, as geoharm_gradient_many: any output NULL is
   neither written nor, where it can be left out, computed. */
void geoharm_gravity_model_gradient_many(const geoharm_gravity_model* model, size_t count, const double* x,
                                         const double* y, const double* z, int n, int m, double* t, double* ax,
                                         double* ay, double* az, double* u);

#ifdef __cplusplus
}
#endif

#endif
