/*
 * lanes_sse2.cpp - the lane kernel (lane_kernel.h) on SSE2 registers: two
 * points per instruction.  Built with the project's options alone, so it
 * runs on every processor of the three builds.
 */
#include <emmintrin.h>

#include "many/lane_kernel.h"
#include "many/lane_type_sse2.h"
#include "many/lane_routines.h"

namespace geoharm {

void evaluateLanesSse2(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                       double* ax, double* ay, double* az) {
    evaluateLanes<lanes_sse2::Lanes>(count, x, y, z, N, M, ax, ay, az);
}

}  // namespace geoharm
