/*
 * gradient_routines.h - the single-point gradient routines, one per
 * instruction set (pair_gradient_kernel.h): evaluateGradient takes the
 * widest the processor runs (processorSimdLevel); tests and the benchmark
 * reach each directly.
 */
#ifndef GEOHARM_GRADIENT_ROUTINES_H
#define GEOHARM_GRADIENT_ROUTINES_H

#include "point/field_types.h"

namespace geoharm {

/*
 * evaluateGradientSse2, evaluateGradientAvx2 - evaluateGradientUnguarded
 * (same arguments, same bits): the tensor's accumulators in SSE2 pairs, or
 * two entries per 256-bit register.  The second only where cpuHasAvx2().
 */
void evaluateGradientSse2(const FieldInput& in, double T[9], double a[3], double* U);
void evaluateGradientAvx2(const FieldInput& in, double T[9], double a[3], double* U);

}  // namespace geoharm

#endif
