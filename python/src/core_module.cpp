/*
 * core_module.cpp - geoharm._core, the Python extension module: the
 * installed C++ interface <geoharm/geoharm.h> (acceleration, gradient,
 * version, constants) for numpy arrays.
 *
 * The package's Python layer (geoharm/__init__.py) reads and checks the
 * caller's arguments; what reaches this module is already a float64 array
 * of shape (3,) or (K, 3), in any memory order, with any strides, and
 * limits that fit an int.  This module only moves the numbers between
 * the array's layout and the core's coordinate arrays and calls the core:
 * every double of a result is the core's, untouched.  It also runs the
 * Python layer's conversion of other positions to float64 in the fixed
 * floating-point state (callInFixedFpState).
 */
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cfenv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

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
 * on first use, a large part of the call's time on a virtual machine
 * (docs/python.md); memory used before costs nothing.  A larger call
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
 * DefaultFpEnvironment - the default floating-point environment of
 * <fenv.h> (round to nearest, every exception masked, no flag raised) for
 * the life of the object; the caller's, flags included, on leaving.
 *
 * Notes:
 *   1. On x86 the default is the core's fixed state (MXCSR 0x1F80) and
 *      the x87 unit's default as well (control word 0x037F): numpy converts
 *      long double with x87 instructions, which round in the x87 unit's
 *      own mode, and a caller's fesetround sets both units.
 *   2. Flags raised inside (the conversion's inexact, numpy's own checks)
 *      are dropped with the rest of the environment on leaving, as the
 *      core's evaluation drops its own.
 */
class DefaultFpEnvironment {
public:
    DefaultFpEnvironment() {
        std::fegetenv(&caller_);
        std::fesetenv(FE_DFL_ENV);
    }
    ~DefaultFpEnvironment() { std::fesetenv(&caller_); }
    DefaultFpEnvironment(const DefaultFpEnvironment&) = delete;
    DefaultFpEnvironment& operator=(const DefaultFpEnvironment&) = delete;

private:
    std::fenv_t caller_;
};

/*
 * callInFixedFpState - function(*arguments), run in the default
 * floating-point environment (DefaultFpEnvironment), the caller's given
 * back after, also when it raises.
 *
 * Given:
 *   function   a Python callable: the Python layer's conversion of
 *              positions to float64
 *   arguments  its arguments
 * Returned:
 *   what function returns; what it raises, unchanged
 *
 * Notes:
 *   1. numpy rounds a value that is not a double (an int64 beyond 2^53, a
 *      long double, a fraction through float()) in the rounding mode of
 *      the thread.  Converted here, positions become the same doubles, and
 *      the results the same bits, whatever mode the caller has set.
 */
py::object callInFixedFpState(const py::function& function, const py::args& arguments) {
    const DefaultFpEnvironment fixed;
    return function(*arguments);
}

/*
 * Positions - where the points of a float64 array of shape (3,) or (K, 3)
 * are, read while the interpreter lock is held; the numbers themselves
 * are read later, without it (the caller keeps the array alive).
 */
struct Positions {
    const char* base;          /* the first point's x */
    std::size_t count;         /* K, or 1 for shape (3,) */
    bool onePoint;             /* shape (3,) */
    py::ssize_t rowStep;       /* bytes from one point to the next */
    py::ssize_t columnStep;    /* bytes from x to y, y to z */

    explicit Positions(const py::array& positions) {
        /* GEOHARM_SIMD_LEVEL names routines that cannot be used: nothing is
           evaluated (the core would write the default NaN). */
        if (geoharm::simdLevelProblem() != nullptr) throw std::runtime_error(geoharm::simdLevelProblem());
        /* Any dtype object numpy takes as the native double (from a pickle,
           ctypes, with metadata), not only numpy's own: isinstance asks
           numpy (PyArray_EquivTypes), and a non-native byte order is not
           equivalent. */
        if (!py::isinstance<py::array_t<double>>(positions) || (positions.ndim() != 1 && positions.ndim() != 2) ||
            positions.shape(positions.ndim() - 1) != 3) {
            throw py::type_error("the core takes a float64 array of shape (3,) or (K, 3)");
        }
        base = static_cast<const char*>(positions.data());
        onePoint = positions.ndim() == 1;
        count = onePoint ? 1 : static_cast<std::size_t>(positions.shape(0));
        rowStep = onePoint ? 0 : positions.strides(0);
        columnStep = positions.strides(positions.ndim() - 1);
    }

    /* The one point's coordinates. */
    void point(double p[3]) const {
        for (int j = 0; j < 3; j++) p[j] = loadDouble(base + j * columnStep);
    }
};

/*
 * Columns - the coordinate arrays the core reads, x[k], y[k], z[k] for
 * point k.  Made without the interpreter lock.
 *
 * A column of the positions with one double between its elements
 * (positions in Fortran order, such as a (3, K) array transposed) is used
 * as it is; any other layout is copied into three coordinate arrays first
 * (rows of three doubles, the usual layout, in one pass; memory:
 * coordinateMemory).  No copy changes a bit.
 */
struct Columns {
    const double* x;
    const double* y;
    const double* z;
    std::unique_ptr<double[]> ownMemory;

    explicit Columns(const Positions& p) {
        constexpr auto DOUBLE = static_cast<py::ssize_t>(sizeof(double));
        const bool aligned = reinterpret_cast<std::uintptr_t>(p.base) % alignof(double) == 0;
        if (p.rowStep == DOUBLE && aligned && p.columnStep % DOUBLE == 0) {
            x = reinterpret_cast<const double*>(p.base);
            y = reinterpret_cast<const double*>(p.base + p.columnStep);
            z = reinterpret_cast<const double*>(p.base + 2 * p.columnStep);
            return;
        }
        double* cx = coordinateMemory(p.count, ownMemory);
        double* cy = cx + p.count;
        double* cz = cy + p.count;
        if (p.rowStep == 3 * DOUBLE && p.columnStep == DOUBLE && aligned) {
            const auto* rows = reinterpret_cast<const double*>(p.base);
            for (std::size_t k = 0; k < p.count; k++) {
                cx[k] = rows[3 * k];
                cy[k] = rows[3 * k + 1];
                cz[k] = rows[3 * k + 2];
            }
        } else {
            for (std::size_t k = 0; k < p.count; k++) {
                const char* row = p.base + static_cast<py::ssize_t>(k) * p.rowStep;
                cx[k] = loadDouble(row);
                cy[k] = loadDouble(row + p.columnStep);
                cz[k] = loadDouble(row + 2 * p.columnStep);
            }
        }
        x = cx;
        y = cy;
        z = cz;
    }
};

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
 *   each component a[:, j] is the core's output array for it and nothing
 *   is copied out
 *
 * Notes:
 *   1. One point goes through geoharm::acceleration with the interpreter
 *      lock held: it takes less time than handing the lock over.  Many
 *      points go through one geoharm::accelerationMany call (vector lanes,
 *      the core's threads) with the lock released; the positions are read
 *      (Columns) in that time too.
 */
py::array accelerationOf(const py::array& positions, int n, int m) {
    const Positions p(positions);
    if (p.onePoint) {
        double point[3];
        p.point(point);
        py::array_t<double> result(3);
        geoharm::acceleration(point, n, m, result.mutable_data());
        return std::move(result);
    }
    py::array_t<double, py::array::f_style> result({static_cast<py::ssize_t>(p.count), py::ssize_t{3}});
    double* a = result.mutable_data();
    if (p.count > 0) {
        py::gil_scoped_release unlocked;
        const Columns c(p);
        geoharm::accelerationMany(p.count, c.x, c.y, c.z, n, m, a, a + p.count, a + 2 * p.count);
    }
    return std::move(result);
}

/*
 * gradientOf - the gravity-gradient tensor, the acceleration and the
 * potential at every point of `positions`, from one evaluation of the
 * model per point.
 *
 * Given:
 *   positions  as accelerationOf
 *   n, m       largest degree and order, as geoharm::gradient takes them
 * Returned:
 *   (T, a, U): for K points T float64 (K, 3, 3) in C order, T[k, i, j] =
 *   d a_i / d x_j of point k (1/s^2: the core's own layout, 9 doubles a
 *   point), a (K, 3) as accelerationOf returns it (m/s^2), U (K,) (m^2/s^2);
 *   for one point (3, 3), (3,) and a 0-d array
 *
 * Notes:
 *   1. The lock as in accelerationOf: held for one point, released for
 *      many (geoharm::gradientMany, lanes and threads).
 */
py::tuple gradientOf(const py::array& positions, int n, int m) {
    const Positions p(positions);
    if (p.onePoint) {
        double point[3];
        p.point(point);
        py::array_t<double> T({py::ssize_t{3}, py::ssize_t{3}});
        py::array_t<double> a(3);
        py::array_t<double> U(py::array::ShapeContainer{});
        geoharm::gradient(point, n, m, T.mutable_data(), a.mutable_data(), U.mutable_data());
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
        geoharm::gradientMany(p.count, c.x, c.y, c.z, n, m, t, acc, acc + p.count, acc + 2 * p.count, u);
    }
    return py::make_tuple(T, a, U);
}

}  // namespace

PYBIND11_MODULE(_core, module) {
    module.doc() = "The geoharm core (C++), for the geoharm package: call geoharm.acceleration and "
                   "geoharm.gradient, not this.";
    module.def("acceleration", &accelerationOf, py::arg("positions"), py::arg("n"), py::arg("m"),
               "The acceleration at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");
    module.def("gradient", &gradientOf, py::arg("positions"), py::arg("n"), py::arg("m"),
               "(T, a, U) at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");
    module.def("version", &geoharm::version, "The core's version, \"MAJOR.MINOR.PATCH\".");
    module.def("simd_level", &geoharm::simdLevel,
               "The vector routines in use: \"sse2\", \"avx2\", \"avx2_fma\", \"avx512f\" or \"avx512f_fma\"; "
               "\"refused\" when GEOHARM_SIMD_LEVEL names routines that cannot be used.");
    module.def("call_in_fixed_fp_state", &callInFixedFpState, py::arg("function"),
               "function(*arguments) in the default floating-point environment (round to nearest, exceptions "
               "masked), the caller's given back after.");
    module.attr("GM") = geoharm::GM;
    module.attr("R_REF") = geoharm::R_REF;
    module.attr("MAX_DEGREE") = geoharm::MAX_DEGREE;
}
