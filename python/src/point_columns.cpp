/*
 * point_columns.cpp - the points of a numpy array as the core's
 * coordinate arrays (point_columns.h).
 */
#include "point_columns.h"

#include <cstdint>
#include <stdexcept>

#include <geoharm/geoharm.h>

namespace py = pybind11;

namespace geoharm_python {

namespace {

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

}  // namespace

Positions::Positions(const py::array& positions) {
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

Columns::Columns(const Positions& p) {
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

}  // namespace geoharm_python
