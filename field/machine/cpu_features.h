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

/* The sets of routines, from the narrowest:
     SSE2         every processor of the three builds;
     AVX2         256-bit routines that divide with the divider;
     AVX2_FMA     256-bit routines that divide by the recursion's constants
                  with FMA (the exact quotient of lane_divide.h: the same
                  doubles);
     AVX512F      the 512-bit many-point routines (256-bit ones for one
                  point), dividing with the divider;
     AVX512F_FMA  the same, dividing with FMA.
   A processor runs a level when it has its instructions (processorRuns);
   of those it runs, processorSimdLevel chooses one. */
enum class SimdLevel : int { SSE2 = 1, AVX2 = 2, AVX2_FMA = 3, AVX512F = 4, AVX512F_FMA = 5 };

/*
 * processorRuns - whether the processor and its operating system run the
 * routines of a level: AVX2 needs cpuHasAvx2(), AVX512F cpuHasAvx512f(),
 * the FMA levels cpuHasFma() besides.
 */
bool processorRuns(SimdLevel level);

/*
 * fmaDivisionPays - whether the exact division by FMA is the quicker one
 * on this processor.  It replaces each division by a multiplication, two
 * fused multiply-adds and a range test (three integer operations and a
 * branch): it pays where the divider is slow against the rest, and costs
 * where the divider is quick and the routine is bound by the number of
 * operations it issues.  Measured at degree and order 10: on an Intel
 * Xeon (Ice Lake) the 512-bit lanes went from 75 to 59 ns a point with it;
 * on an AMD EPYC (Zen 4) they went from 64.5 to 70.5 ns, the 256-bit lanes
 * from 81.0 to 86.9 ns and the single-point sums from 146.9 to 163.4 ns.
 * So: true on Intel processors (CPUID vendor "GenuineIntel"), false on
 * the others.
 */
bool fmaDivisionPays();

/*
 * processorSimdLevel - the level the evaluation's routines are chosen
 * from, asked once and kept: the widest the processor runs (AVX512F, else
 * AVX2, else SSE2), in its FMA variant where the processor runs that and
 * fmaDivisionPays().  Every level gives the same bits.  The one place where
 * the routines are chosen from.
 */
SimdLevel processorSimdLevel();

}  // namespace geoharm

#endif
