/*
 * point_columns.h - the points of a float64 numpy array of shape (3,) or
 * (K, 3), laid out as the core's many-point routines read them: one array
 * per coordinate (point_columns.cpp).
 *
 *   Positions   where the points are: read with the interpreter lock held
 *   Columns     the coordinate arrays x, y, z: made without it
 *
 * No copy changes a bit.
 */
#ifndef GEOHARM_PYTHON_POINT_COLUMNS_H
#define GEOHARM_PYTHON_POINT_COLUMNS_H

#include <pybind11/numpy.h>

#include <cstddef>
#include <cstring>
#include <memory>

namespace geoharm_python {

/* The double at byte address p, which need not be aligned. */
inline double loadDouble(const char* p) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/*
 * Positions - where the points of a float64 array of shape (3,) or (K, 3)
 * are, read while the interpreter lock is held; the numbers themselves
 * are read later, without it (the caller keeps the array alive).
 *
 * Raises RuntimeError when GEOHARM_SIMD_LEVEL names routines that cannot
 * be used (nothing is evaluated: the core would write the default NaN),
 * TypeError for any other array.
 */
struct Positions {
    const char* base;                /* the first point's x */
    std::size_t count;               /* K, or 1 for shape (3,) */
    bool onePoint;                   /* shape (3,) */
    pybind11::ssize_t rowStep;       /* bytes from one point to the next */
    pybind11::ssize_t columnStep;    /* bytes from x to y, y to z */

    explicit Positions(const pybind11::array& positions);

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
 * (rows of three doubles, the usual layout, in one pass; memory kept by
 * the calling thread, point_columns.cpp).
 */
struct Columns {
    const double* x;
    const double* y;
    const double* z;
    std::unique_ptr<double[]> ownMemory;

    explicit Columns(const Positions& p);
};

}  // namespace geoharm_python

#endif
