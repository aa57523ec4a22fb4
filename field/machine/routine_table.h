/*
 * routine_table.h - the one place where the vector routines are chosen.
 *
 * Every level of simd_level.h builds the same routines from the same
 * sources for its instruction set (level_functions.h; the level's table is
 * defined by level_table.cpp, built once per level).  Each evaluation asks
 * activeRoutines() for the routine it runs; the choice is made once:
 *
 *   - GEOHARM_SIMD_LEVEL set (settings.h): every routine of that level;
 *   - otherwise the widest level the processor runs (avx512f, avx2, sse2),
 *     in its FMA variant where the processor runs that and the FMA
 *     division pays there (fmaDivisionPays); for one point, at avx512f,
 *     the FMA variant wherever the processor runs it: with 32 registers
 *     the multiplications and fused operations that replace the divisions
 *     on the one point's chain of dependent operations were the quicker
 *     on every processor measured (docs/performance.md).
 *
 * Every level gives the same bits, so the choice changes speed alone.
 */
#ifndef GEOHARM_ROUTINE_TABLE_H
#define GEOHARM_ROUTINE_TABLE_H

#include <cstddef>

#include "machine/simd_level.h"

namespace geoharm {

struct FieldInput;
struct FieldScalars;
struct ModelData;

/* The harmonic sums of one point (point/fused_harmonic_sums.h). */
using PointSums = void (*)(const FieldScalars& sc, int N, int M, double sum[3]);
/* The gradient at one point, in the caller's floating-point state
   (point/evaluate_gradient.h: evaluateGradientUnguarded). */
using PointGradient = void (*)(const FieldInput& in, double T[9], double a[3], double* U);
/* The acceleration at count points, one per vector lane (many/lane_kernel.h). */
using AccelerationLanes = void (*)(std::size_t count, const double* x, const double* y, const double* z, int N,
                                   int M, double* ax, double* ay, double* az);
/* The gradient at count points, one per vector lane (many/gradient_lane_kernel.h). */
using GradientLanes = void (*)(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                               double* T, double* ax, double* ay, double* az, double* U);

/* A model at one point, and at many (models/evaluate_model.h), in the
   caller's floating-point state; degree and order as model_limits.h
   resolves them. */
using ModelOnePoint = void (*)(const ModelData& model, const double position[3], int degree, int order, double* U,
                               double a[3], double T[9]);
using ModelManyPoints = void (*)(const ModelData& model, std::size_t count, const double* x, const double* y,
                                 const double* z, int degree, int order, double* U, double* ax, double* ay, double* az,
                                 double* T);

struct Routines {
    SimdLevel level;      /* the level of the many-point routines */
    SimdLevel pointLevel; /* the level of the one-point routines */
    PointSums pointSums;
    PointGradient pointGradient;
    AccelerationLanes accelerationLanes;
    GradientLanes gradientLanes;
    ModelOnePoint modelOnePoint;
    ModelManyPoints modelManyPoints;
};

/*
 * activeRoutines - the routines every evaluation runs, chosen once (see
 * above).  Where GEOHARM_SIMD_LEVEL is refused (routineProblem() is not
 * null) they are routines that write the default NaN to every output: the
 * entry points check routineProblem() first and refuse the call.
 */
const Routines& activeRoutines();

/* routineProblem - null, or why GEOHARM_SIMD_LEVEL was refused. */
const char* routineProblem();

/*
 * levelRoutines - the routines of one level, all of them: null where the
 * processor does not run the level.  For the tests and the benchmarks,
 * which compare the levels.
 */
const Routines* levelRoutines(SimdLevel level);

}  // namespace geoharm

#endif
