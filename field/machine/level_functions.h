/*
 * level_functions.h - the routines each level defines, in a namespace of
 * its own named after it (GEOHARM_LEVEL: sse2, avx2, avx2_fma, avx512f,
 * avx512f_fma), for the sources that field/CMakeLists.txt builds once per
 * level with that level's instruction-set options.
 *
 * Every function built for a level lives in its namespace, so its symbols
 * begin with it: nothing built for one instruction set can stand in for
 * another's code at link time, and the instruction checks tell the wide
 * code by that prefix alone (GEOHARM_AVX_CODE, top-level CMakeLists.txt).
 * Each routine is the same as every other level's, bit for bit
 * (routine_table.h says what each does).
 */
#ifndef GEOHARM_LEVEL_FUNCTIONS_H
#define GEOHARM_LEVEL_FUNCTIONS_H

#if !defined(GEOHARM_LEVEL) || !defined(GEOHARM_LEVEL_ID)
#error "built once per level: GEOHARM_LEVEL names the level, GEOHARM_LEVEL_ID its SimdLevel"
#endif

#include <cstddef>

namespace geoharm {

struct FieldInput;
struct FieldScalars;
struct ModelData;

namespace GEOHARM_LEVEL {

void pointSums(const FieldScalars& sc, int N, int M, double sum[3]);
void pointGradient(const FieldInput& in, double T[9], double a[3], double* U);
void accelerationLanes(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* ax,
                       double* ay, double* az);
void gradientLanes(std::size_t count, const double* x, const double* y, const double* z, int N, int M, double* T,
                   double* ax, double* ay, double* az, double* U);
void modelOnePoint(const ModelData& model, const double position[3], int degree, int order, double* U, double a[3],
                   double T[9]);
void modelManyPoints(const ModelData& model, std::size_t count, const double* x, const double* y, const double* z,
                     int degree, int order, double* U, double* ax, double* ay, double* az, double* T);

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm

#endif
