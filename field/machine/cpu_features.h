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

/*
 * cpuHasFma - true when the processor has the fused multiply-add
 * instructions on xmm/ymm registers (FMA3) and the operating system saves
 * the 256-bit registers: what the routines built with FMA (the exact
 * division by a constant, lane_divide.h) need besides AVX2 or AVX-512F.
 */
bool cpuHasFma();

/* The widest vector code the processor and its operating system can run,
   asked once and kept (see cpu_features.cpp).  Each level is a set of
   routines, each level's processors run every level below it:
     SSE2      every processor of the three builds;
     AVX2      256-bit routines built without FMA (processors with AVX2
               but without FMA, which a virtual machine can present);
     AVX2_FMA  256-bit routines that divide with FMA;
     AVX512F   the 512-bit many-point routine, which divides with FMA:
               AVX-512F and FMA (a processor that has AVX-512F but reports
               no FMA takes the level AVX2). */
enum class SimdLevel : int { SSE2 = 1, AVX2 = 2, AVX2_FMA = 3, AVX512F = 4 };

/*
 * processorSimdLevel - SimdLevel::AVX512F where cpuHasAvx512f() and
 * cpuHasFma(), AVX2_FMA where cpuHasAvx2() and cpuHasFma(), AVX2 where
 * cpuHasAvx2() alone, SSE2 otherwise.  The one place where the
 * evaluation's routines are chosen from.
 */
SimdLevel processorSimdLevel();

}  // namespace geoharm

#endif
