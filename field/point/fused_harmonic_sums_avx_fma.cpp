/*
 * fused_harmonic_sums_avx_fma.cpp - the 256-bit fused recursion and
 * summation (fused_harmonic_sums_avx.cpp) built a second time, with FMA:
 * fusedHarmonicSumsAvxFma, whose divisions by the recursion's constants
 * are the exact quotients by fused multiply-add of lane_divide.h (the same
 * doubles as the divider).  This file alone is built for AVX2 with FMA; it
 * runs only at the level AVX2_FMA or above (cpu_features.h).
 */
#include "point/fused_harmonic_sums_avx.cpp"
