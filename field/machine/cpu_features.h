/*
 * cpu_features.h - what the processor running the code offers beyond the
 * SSE2 that every build assumes (the levels built on it: simd_level.h).
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
 * cpuHasAvx512f - true when the processor has AVX-512F and AVX-512VL (and
 * AVX2) and the operating system saves the whole AVX-512 state: the upper
 * halves of the 256-bit registers, the 512-bit registers and the mask
 * registers.
 */
bool cpuHasAvx512f();

/*
 * cpuHasFma - true when the processor has the fused multiply-add
 * instructions on xmm/ymm registers (FMA3) and the operating system saves
 * the 256-bit registers: what the routines built with FMA (the exact
 * division by a constant, lane_divide.h) need besides AVX2 or AVX-512F.
 */
bool cpuHasFma();

/*
 * fmaDivisionPays - whether the exact division by FMA is the quicker one
 * on this processor, for the routines with many points at once.  It
 * replaces each division by a multiplication, two fused multiply-adds and
 * a range test: it pays where the divider is slow against the rest of the
 * work, and costs where the divider is quick and the routine is bound by
 * the number of instructions it issues.  It paid on the Intel processor
 * and cost on the AMD one of docs/performance.md: true where the CPUID
 * vendor is "GenuineIntel".
 */
bool fmaDivisionPays();

}  // namespace geoharm

#endif
