/*
 * acceleration_api.cpp - the installed interface (<geoharm/geoharm.h>) on
 * top of the evaluation: plain int limits read as the MATLAB functions
 * read them, then the field's own entry points.
 */
#include "geoharm/geoharm.h"
#include "geoharm/version.h"

#include "machine/routine_table.h"
#include "many/evaluate_acceleration_many.h"
#include "model/limit_argument.h"
#include "point/evaluate_acceleration.h"

namespace geoharm {

void acceleration(const double position[3], int N, int M, double a[3]) {
    const FieldInput in{position[0], position[1], position[2], limitArgument(N), limitArgument(M)};
    evaluateAcceleration(in, a);
}

void accelerationMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                      double* ax, double* ay, double* az) {
    evaluateAccelerationMany(count, x, y, z, limitArgument(N), limitArgument(M), ax, ay, az);
}

const char* version() { return GEOHARM_VERSION_STRING; }

const char* simdLevel() { return routineProblem() != nullptr ? "refused" : levelName(activeRoutines().level); }

const char* simdLevelProblem() { return routineProblem(); }

}  // namespace geoharm
