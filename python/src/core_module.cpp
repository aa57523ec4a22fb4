/*
 * core_module.cpp - geoharm._core, the Python extension module: the
 * installed C++ interface <geoharm/geoharm.h> for numpy arrays.
 *
 * The package's Python layer (geoharm/__init__.py) reads and checks the
 * caller's arguments; what reaches this module is already a float64 array
 * of shape (3,) or (K, 3), in any memory order, with any strides, and
 * limits that fit an int.  This module only moves the numbers between
 * the array's layout and the core's coordinate arrays and calls the core:
 * every double of a result is the core's, untouched.
 */
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include <geoharm/geoharm.h>

namespace py = pybind11;

namespace {

/* The double at byte address p, which need not be aligned. */
inline double loadDouble(const char* p) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/*
 * Memory for the coordinate arrays of positions that must be copied
 * (rows of x, y, z): a calling thread keeps it from one call to the next,
 * for calls of up to KEPT_POINTS points (24 MiB), and frees it when the
 * thread ends.  Fresh memory from the system costs a page fault per 4 KiB
 * on first use, which on a virtual machine takes as long as a fifth of the
 * evaluation itself; memory used before costs nothing.  A larger call
 * takes memory of its own and gives it back at its end.
 */
constexpr std::size_t KEPT_POINTS = std::size_t{1} << 20;

double* coordinateMemory(std::size_t count, std::unique_ptr<double[]>& ownMemory) {
    thread_local std::unique_ptr<double[]> kept;
    thread_local std::size_t keptPoints = 0;
    if (count > KEPT_POINTS) {
        ownMemory.reset(new double[3 * count]);
        return ownMemory.get();
    }
    if (keptPoints < count) {
        kept.reset();
        keptPoints = 0;
        kept.reset(new double[3 * count]);
        keptPoints = count;
    }
    return kept.get();
}

/*
 * accelerationOf - the acceleration at every point of `positions`.
 *
 * Given:
 *   positions  float64 array, shape (3,) (one point) or (K, 3) (point k
 *              in row k), any strides (byte steps, also 0 or negative)
 *   n, m       largest degree and order, as geoharm::acceleration takes
 *              them
 * Returned:
 *   a new float64 array of the same shape; for K points stored column by
 *   column (Fortran order, as MATLAB stores its K-by-3 result), so that
 *   each component a[:, j] is the core's output array for it
 *
 * Notes:
 *   1. One point goes through geoharm::acceleration with the interpreter
 *      lock held: it takes less time than handing the lock over.  Many
 *      points go through one geoharm::accelerationMany call (vector lanes,
 *      the core's threads) with the lock released; the positions are read
 *      in that time too.
 *   2. The core reads one array per coordinate and writes one per
 *      component.  The result's columns are those arrays, so nothing is
 *      copied out.  A column of the positions with one double between its
 *      elements (positions in Fortran order, such as a (3, K) array
 *      transposed) is passed as it is; any other layout is copied into
 *      three coordinate arrays first (rows of three doubles, the usual
 *      layout, in one pass; memory: coordinateMemory).  No copy changes a
 *      bit.
 */
py::array accelerationOf(const py::array& positions, int n, int m) {
    if (!positions.dtype().is(py::dtype::of<double>()) || (positions.ndim() != 1 && positions.ndim() != 2) ||
        positions.shape(positions.ndim() - 1) != 3) {
        throw py::type_error("_core.acceleration takes a float64 array of shape (3,) or (K, 3)");
    }
    const char* base = static_cast<const char*>(positions.data());

    /* One point: three doubles in, three out. */
    if (positions.ndim() == 1) {
        const py::ssize_t step = positions.strides(0);
        const double p[3] = {loadDouble(base), loadDouble(base + step), loadDouble(base + 2 * step)};
        py::array_t<double> result(3);
        geoharm::acceleration(p, n, m, result.mutable_data());
        return std::move(result);
    }

    const auto count = static_cast<std::size_t>(positions.shape(0));
    py::array_t<double, py::array::f_style> result({positions.shape(0), py::ssize_t{3}});
    if (count == 0) return std::move(result);
    double* out = result.mutable_data();
    constexpr auto DOUBLE = static_cast<py::ssize_t>(sizeof(double));
    const py::ssize_t rowStep = positions.strides(0);
    const py::ssize_t columnStep = positions.strides(1);
    const bool aligned = reinterpret_cast<std::uintptr_t>(base) % alignof(double) == 0;
    {
        py::gil_scoped_release unlocked;
        /* The coordinate arrays: the columns themselves, or copies. */
        std::unique_ptr<double[]> ownMemory;
        const double* column[3];
        if (rowStep == DOUBLE && aligned && columnStep % DOUBLE == 0) {
            for (int j = 0; j < 3; j++) column[j] = reinterpret_cast<const double*>(base + j * columnStep);
        } else {
            double* x = coordinateMemory(count, ownMemory);
            double* y = x + count;
            double* z = y + count;
            if (rowStep == 3 * DOUBLE && columnStep == DOUBLE && aligned) {
                const auto* rows = reinterpret_cast<const double*>(base);
                for (std::size_t k = 0; k < count; k++) {
                    x[k] = rows[3 * k];
                    y[k] = rows[3 * k + 1];
                    z[k] = rows[3 * k + 2];
                }
            } else {
                for (std::size_t k = 0; k < count; k++) {
                    const char* row = base + static_cast<py::ssize_t>(k) * rowStep;
                    x[k] = loadDouble(row);
                    y[k] = loadDouble(row + columnStep);
                    z[k] = loadDouble(row + 2 * columnStep);
                }
            }
            column[0] = x;
            column[1] = y;
            column[2] = z;
        }
        geoharm::accelerationMany(count, column[0], column[1], column[2], n, m, out, out + count, out + 2 * count);
    }
    return std::move(result);
}

}  // namespace

PYBIND11_MODULE(_core, module) {
    module.doc() = "The geoharm core (C++), for the geoharm package: call geoharm.acceleration, not this.";
    module.def("acceleration", &accelerationOf, py::arg("positions"), py::arg("n"), py::arg("m"),
               "The acceleration at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");
    module.def("version", &geoharm::version, "The core's version, \"MAJOR.MINOR.PATCH\".");
    module.attr("GM") = geoharm::GM;
    module.attr("R_REF") = geoharm::R_REF;
    module.attr("MAX_DEGREE") = geoharm::MAX_DEGREE;
}
