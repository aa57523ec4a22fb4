/*
 * cpu_features.h - what the processor running the code offers beyond the
 * SSE2 that every build assumes.
 */
#ifndef GEOHARM_CPU_FEATURES_H
#define GEOHARM_CPU_FEATURES_H

namespace geoharm {

/*
 * cpuHasAvx2 - true when the processor has AVX2 and the operating system
 * saves the 256-bit registers across context switches (both are needed
 * before any 256-bit instruction may run).
 */
bool cpuHasAvx2();

/*
 * cpuHasAvx512f - true when the processor has AVX-512F (and AVX2) and the
 * operating system saves the whole AVX-512 state: the upper halves of the
 * 256-bit registers, the 512-bit registers and the mask registers.
 */
bool cpuHasAvx512f();

/* The widest vector code the processor and its operating system can run,
   asked once and kept (see cpu_features.cpp). */
enum class SimdLevel : int { SSE2 = 1, AVX2 = 2, AVX512F = 3 };

/*
 * processorSimdLevel - SimdLevel::AVX512F where cpuHasAvx512f(), AVX2 where
 * cpuHasAvx2(), SSE2 otherwise.  The one place where the evaluation's
 * routines are chosen from.
 */
SimdLevel processorSimdLevel();

}  // namespace geoharm

#endif
