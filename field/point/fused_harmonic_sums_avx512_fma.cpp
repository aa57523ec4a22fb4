/*
 * fused_harmonic_sums_avx512_fma.cpp - the 256-bit fused recursion and
 * summation (fused_harmonic_sums_avx.cpp) built for AVX-512F and
 * AVX-512VL with FMA: fusedHarmonicSumsAvx512Fma, the routine of
 * fused_harmonic_sums_avx512.cpp dividing by the recursion's constants
 * with the exact division of lane_divide.h (the same doubles as the
 * divider).  This file alone is built so; it runs only at the level
 * AVX512F_FMA (cpu_features.h).
 */
#define GEOHARM_AVX512_REGISTERS
#include "point/fused_harmonic_sums_avx.cpp"
