/*
 * field_calls.h - a field's acceleration and gradient at the points of a
 * numpy array, as new numpy arrays: the compiled-in model's (CompiledIn)
 * or a geoharm::GravityModel's, through the same code.
 *
 *   accelerationOf  a of shape (3,) or (K, 3)
 *   gradientOf      (T, a, U)
 *
 * A Field has the four evaluations of geoharm::GravityModel:
 * acceleration, accelerationMany, gradient and gradientMany (const).
 * Every double of a result is the field's, untouched.
 */
#ifndef GEOHARM_PYTHON_FIELD_CALLS_H
#define GEOHARM_PYTHON_FIELD_CALLS_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>

#include <geoharm/geoharm.h>

#include "point_columns.h"

namespace geoharm_python {

/* The compiled-in degree-10 model as a Field: <geoharm/geoharm.h>. */
struct CompiledIn {
    void acceleration(const double p[3], int n, int m, double a[3]) const { geoharm::acceleration(p, n, m, a); }
    void accelerationMany(std::size_t count, const double* x, const double* y, const double* z, int n, int m,
                          double* ax, double* ay, double* az) const {
        geoharm::accelerationMany(count, x, y, z, n, m, ax, ay, az);
    }
    void gradient(const double p[3], int n, int m, double T[9], double a[3], double* U) const {
        geoharm::gradient(p, n, m, T, a, U);
    }
    void gradientMany(std::size_t count, const double* x, const double* y, const double* z, int n, int m,
                      double* T, double* ax, double* ay, double* az, double* U) const {
        geoharm::gradientMany(count, x, y, z, n, m, T, ax, ay, az, U);
    }
};

/*
 * accelerationOf - the field's acceleration at every point of `positions`.
 *
 * Given:
 *   field      the field; it must outlive the call (the caller holds it,
 *              a model by a counted reference taken with the lock held)
 *   positions  float64 array, shape (3,) (one point) or (K, 3) (point k
 *              in row k), any strides (byte steps, also 0 or negative)
 *   n, m       largest degree and order, as the field takes them
 * Returned:
 *   a new float64 array of the same shape; for K points stored column by
 *   column (Fortran order, as MATLAB stores its K-by-3 result), so that
 *   each component a[:, j] is the field's output array for it and nothing
 *   is copied out
 *
 * Notes:
 *   1. One point goes through field.acceleration with the interpreter
 *      lock held: it takes less time than handing the lock over.  Many
 *      points go through one field.accelerationMany call (vector lanes,
 *      the core's threads) with the lock released; the positions are read
 *      (Columns) in that time too.
 */
template <class Field>
pybind11::array accelerationOf(const Field& field, const pybind11::array& positions, int n, int m) {
    namespace py = pybind11;
    const Positions p(positions);
    if (p.onePoint) {
        double point[3];
        p.point(point);
        py::array_t<double> result(3);
        field.acceleration(point, n, m, result.mutable_data());
        return std::move(result);
    }
    py::array_t<double, py::array::f_style> result({static_cast<py::ssize_t>(p.count), py::ssize_t{3}});
    double* a = result.mutable_data();
    if (p.count > 0) {
        py::gil_scoped_release unlocked;
        const Columns c(p);
        field.accelerationMany(p.count, c.x, c.y, c.z, n, m, a, a + p.count, a + 2 * p.count);
    }
    return std::move(result);
}

/*
 * gradientOf - the field's gravity-gradient tensor, acceleration and
 * potential at every point of `positions`, from one evaluation per point.
 *
 * Given:
 *   field, positions, n, m   as accelerationOf
 * Returned:
 *   (T, a, U): for K points T float64 (K, 3, 3) in C order, T[k, i, j] =
 *   d a_i / d x_j of point k (1/s^2: the core's own layout, 9 doubles a
 *   point), a (K, 3) as accelerationOf returns it (m/s^2), U (K,) (m^2/s^2);
 *   for one point (3, 3), (3,) and a 0-d array
 *
 * Notes:
 *   1. The lock as in accelerationOf: held for one point, released for
 *      many (field.gradientMany, lanes and threads).
 */
template <class Field>
pybind11::tuple gradientOf(const Field& field, const pybind11::array& positions, int n, int m) {
    namespace py = pybind11;
    const Positions p(positions);
    if (p.onePoint) {
        double point[3];
        p.point(point);
        py::array_t<double> T({py::ssize_t{3}, py::ssize_t{3}});
        py::array_t<double> a(3);
        py::array_t<double> U(py::array::ShapeContainer{});
        field.gradient(point, n, m, T.mutable_data(), a.mutable_data(), U.mutable_data());
        return py::make_tuple(T, a, U);
    }
    const auto count = static_cast<py::ssize_t>(p.count);
    py::array_t<double> T({count, py::ssize_t{3}, py::ssize_t{3}});
    py::array_t<double, py::array::f_style> a({count, py::ssize_t{3}});
    py::array_t<double> U(count);
    double* t = T.mutable_data();
    double* acc = a.mutable_data();
    double* u = U.mutable_data();
    if (p.count > 0) {
        py::gil_scoped_release unlocked;
        const Columns c(p);
        field.gradientMany(p.count, c.x, c.y, c.z, n, m, t, acc, acc + p.count, acc + 2 * p.count, u);
    }
    return py::make_tuple(T, a, U);
}

}  // namespace geoharm_python

#endif
