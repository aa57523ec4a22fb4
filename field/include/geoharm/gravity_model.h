/*
 * gravity_model.h - any spherical-harmonic gravity model, of any degree up
 * to 2700: loaded from an ICGEM file (.gfc, formats 1.0 and 2.0) or made
 * from a program's own tables, and evaluated as the compiled-in model is
 * (installed as <geoharm/gravity_model.h>, included by <geoharm/geoharm.h>).
 *
 *   GravityModel::load        from a file (time-variable terms at an epoch)
 *   GravityModel::fromTables  from C and S tables, GM and R
 *   acceleration, accelerationMany, gradient, gradientMany   as for the
 *                             compiled-in model (<geoharm/geoharm.h>)
 *
 * Units and axes: positions in metres, in the model's body-fixed axes;
 * accelerations in m/s^2, the tensor T(i,j) = d a_i / d x_j in 1/s^2, the
 * potential U (a = grad U) in m^2/s^2.
 *
 * Limits N (largest degree) and M (largest order), plain int: N above the
 * model's degree is its degree; M > N is N; N <= 1 or M < 0 is the central
 * term alone (degree 0: GM/r times C(0,0)); otherwise degrees 0..N with
 * degree 1, orders 0..min(n, M).  C(0,0) is taken as the model gives it
 * (0 leaves the harmonic part alone).
 *
 * What is guaranteed (as for the compiled-in model):
 *   1. Identical bits: for a given model, every result is the same IEEE
 *      double on every build, at every level of vector routines and thread
 *      count, from every interface (MATLAB, Octave, Python, C, C++, the
 *      tools), whatever the caller's floating-point state; every NaN is
 *      the default NaN.  A model that is the compiled-in one number for
 *      number (unnormalised, its GM and R_REF, C(0,0) = 1, its tables:
 *      model() with C[0][0] = 1) gives the compiled-in routines' bits.
 *   2. Accuracy against an independent 113-bit evaluation (synthetic
 *      Kaula-rule models of degree 70, 360 and 2190, from 1 m above R to
 *      1e8 m, the poles and the axis included): the acceleration within
 *      2e-15 of its norm, the harmonic part within 4e-15 of its norm
 *      (1e-14 at degree 2190), U within 2e-15 relative, T within 1e-14 of
 *      its norm (docs/models.md has the figures).
 *   3. Threads: a model is never changed after it is made; calls from
 *      several threads at once, on one model or several, are safe.
 *      Copies share the model; the last one frees it.
 *   4. Memory: a call allocates nothing (the many-point routines evaluate
 *      points in tiles of bounded size); a model holds its coefficients
 *      (16 bytes a coefficient) and shares the recursion's factors with
 *      every model of its degree.
 */
#ifndef GEOHARM_GRAVITY_MODEL_H
#define GEOHARM_GRAVITY_MODEL_H

#include <cstddef>

#include "geoharm/gravity_model_types.h"

namespace geoharm {

class GravityModel {
public:
    /* No model: evaluations write the default NaN; ok() is false. */
    GravityModel() noexcept;
    GravityModel(const GravityModel& other) noexcept;
    GravityModel& operator=(const GravityModel& other) noexcept;
    ~GravityModel();

    /*
     * load - the model of an ICGEM file.
     *
     * Given:
     *   path         the file's path (UTF-8)
     *   epoch        the epoch of the time-variable terms: a decimal year
     *                ("2010.5", a Julian epoch year) or a date
     *                "yyyy-mm-dd"; null for none (a file that has such
     *                terms is then refused)
     *   messageSize  the size of message (0: no message)
     * Returned:
     *   message      why the file was refused: "<file>:<line>: <what>"
     * Returns the model, or no model (ok() false) when refused.
     */
    static GravityModel load(const char* path, const char* epoch, char* message, std::size_t messageSize);

    /*
     * fromTables - a model from a program's tables.
     *
     * Given:
     *   gm, radius     GM (m^3/s^2) and the reference radius (m), finite,
     *                  above zero
     *   maxDegree      L, 0..MAX_MODEL_DEGREE
     *   C, S           (L+1)^2 doubles each, row by row: C[n (L+1) + m] is
     *                  C(n,m); entries with m > n and S(n,0) must be zero
     *   normalization  of C and S (an unnormalised model is converted)
     *   name           the model's name, or null (its first 127 bytes kept,
     *                  cut at a character boundary of its UTF-8)
     * Returned: as load.
     */
    static GravityModel fromTables(double gm, double radius, int maxDegree, const double* C, const double* S,
                                   Normalization normalization, const char* name, char* message,
                                   std::size_t messageSize);

    /* Whether this is a model. */
    bool ok() const noexcept { return data_ != nullptr; }

    /* What it was made from: GM, R, L, the normalisation, the name and
       tide system as the file gives them ("" when absent), and the fully
       normalised C(n,m), S(n,m), 0 <= m <= n <= L. */
    double gm() const;
    double radius() const;
    int maxDegree() const;
    Normalization normalization() const;
    const char* name() const;
    const char* tideSystem() const;
    double C(int n, int m) const;
    double S(int n, int m) const;
    /* Whether the model is the compiled-in one (guarantee 1). */
    bool isCompiledIn() const;

    /* The acceleration at one point (m/s^2). */
    void acceleration(const double position[3], int N, int M, double a[3]) const;
    /* The acceleration at count points (x[k], y[k], z[k]); the outputs
       must not overlap the inputs or each other. */
    void accelerationMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                          double* ax, double* ay, double* az) const;
    /* The tensor T[3i+j] (exactly symmetric), the acceleration and the
       potential at one point; a and U may be null (not computed). */
    void gradient(const double position[3], int N, int M, double T[9], double a[3], double* U) const;
    /* The same at count points: T[9k .. 9k+8]; any output may be null. */
    void gradientMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* T,
                      double* ax, double* ay, double* az, double* U) const;

private:
    explicit GravityModel(const void* data) noexcept : data_(data) {}
    const void* data_;
};

}  // namespace geoharm

#endif
