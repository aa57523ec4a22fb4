/*
 * evaluate_gradient_avx512.cpp - the single-point gradient routine of
 * evaluate_gradient_avx2.cpp built for AVX-512F and AVX-512VL:
 * evaluateGradientAvx512, the same operations (so the same bits) with the
 * 32 vector registers of AVX-512 instead of 16, so that fewer of the
 * recursion's rows and the tensor's accumulators go to the stack.  This
 * file alone is built so; it runs only at the level AVX512F or above
 * (cpu_features.h).
 */
#define GEOHARM_AVX512_REGISTERS
#include "point/evaluate_gradient_avx2.cpp"
