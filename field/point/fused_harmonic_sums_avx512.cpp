/*
 * fused_harmonic_sums_avx512.cpp - the 256-bit fused recursion and
 * summation (fused_harmonic_sums_avx.cpp) built for AVX-512F and
 * AVX-512VL: fusedHarmonicSumsAvx512, the same operations on the same
 * 256-bit registers, dividing with the divider, but with the 32 vector
 * registers of AVX-512 instead of 16: at degree and order 10 the AVX2
 * build keeps about a fifth of its instructions for copies to and from
 * the stack, this one half as many.  This file alone is built for
 * AVX-512; it runs only at the level AVX512F or above (cpu_features.h).
 */
#define GEOHARM_AVX512_REGISTERS
#include "point/fused_harmonic_sums_avx.cpp"
