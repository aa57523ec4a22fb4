/*
 * gradient_api.cpp - the installed interface's gradient routines
 * (<geoharm/geoharm.h>): plain int limits read as the MATLAB functions
 * read them, then the field's own entry points.
 */
#include "geoharm/geoharm.h"

#include "many/evaluate_gradient_many.h"
#include "model/limit_argument.h"
#include "point/evaluate_gradient.h"

namespace geoharm {

void gradient(const double position[3], int N, int M, double T[9], double a[3], double* U) {
    const FieldInput in{position[0], position[1], position[2], limitArgument(N), limitArgument(M)};
    evaluateGradient(in, T, a, U);
}

void gradientMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* T,
                  double* ax, double* ay, double* az, double* U) {
    evaluateGradientMany(count, x, y, z, limitArgument(N), limitArgument(M), T, ax, ay, az, U);
}

}  // namespace geoharm
