/*
 * simd_level.h - the levels of vector routines, their names, and whether
 * the processor runs each.
 *
 * A level is a set of routines built from the same sources for one
 * instruction set (machine/level_table.cpp lists them; field/CMakeLists.txt
 * builds them):
 *
 *   sse2         SSE2, which every processor of the three builds has;
 *   avx2         AVX2, dividing with the divider;
 *   avx2_fma     AVX2, dividing by the recursion's constants with the exact
 *                quotient by fused multiply-add (kernels/lane_divide.h: the
 *                divider's doubles);
 *   avx512f      AVX-512F and AVX-512VL (512-bit lanes for many points,
 *                the 256-bit one-point routine with 32 registers),
 *                dividing with the divider;
 *   avx512f_fma  the same, dividing with FMA.
 *
 * Every level gives the same bits: each performs the same operations,
 * only more of them at once.
 */
#ifndef GEOHARM_SIMD_LEVEL_H
#define GEOHARM_SIMD_LEVEL_H

namespace geoharm {

enum class SimdLevel : int { SSE2 = 1, AVX2 = 2, AVX2_FMA = 3, AVX512F = 4, AVX512F_FMA = 5 };

/* The levels from the narrowest. */
constexpr SimdLevel SIMD_LEVELS[] = {SimdLevel::SSE2, SimdLevel::AVX2, SimdLevel::AVX2_FMA, SimdLevel::AVX512F,
                                     SimdLevel::AVX512F_FMA};

/* levelName - "sse2", "avx2", "avx2_fma", "avx512f" or "avx512f_fma": the
   name GEOHARM_SIMD_LEVEL takes and the namespace of the level's code. */
const char* levelName(SimdLevel level);

/* levelFromName - the level of a name as levelName gives it (lower case,
   nothing around it); false for any other text. */
bool levelFromName(const char* name, SimdLevel* level);

/*
 * processorRuns - whether the processor and its operating system run the
 * routines of a level: avx2 needs cpuHasAvx2(), avx512f cpuHasAvx512f(),
 * the FMA levels cpuHasFma() besides (cpu_features.h).
 */
bool processorRuns(SimdLevel level);

}  // namespace geoharm

#endif
