/*
 * exact_division_lanes.h - the lane division of lane_divide.h as the
 * routines built with FMA run it, over arrays, for the division tests.
 * Each function lives in a file built for its routine's instruction set
 * (exact_division_avx2_fma.cpp, exact_division_avx512.cpp) and runs only
 * where the processor has it.
 */
#ifndef GEOHARM_TESTS_EXACT_DIVISION_LANES_H
#define GEOHARM_TESTS_EXACT_DIVISION_LANES_H

#include <cstddef>

namespace geoharm_test {

/* q[i] = a[i] / d through laneDivide (the lane kernels' division), 4 or 8
   lanes at a time; count a multiple of 8. */
void divideLanesAvx2Fma(const double* a, std::size_t count, int d, double* q);
void divideLanesAvx512(const double* a, std::size_t count, int d, double* q);

/* The single-point routine's form: registers of four lanes divided by
   (d0, d0, d1, d1) through exactQuotient, lanes in `unused` left out of
   its range test; count a multiple of 4. */
void dividePairsAvx2Fma(const double* a, std::size_t count, int d0, int d1, int unused, double* q);

}  // namespace geoharm_test

#endif
