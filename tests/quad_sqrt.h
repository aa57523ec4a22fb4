/*
 * quad_sqrt.h - the square root of a 113-bit binary float (__float128)
 * without libquadmath: two Newton steps from the double square root, each
 * doubling the correct bits (53, 106, past 113).  For the test-side
 * references (gradient_reference.h, models/quad_reference.h).
 */
#ifndef GEOHARM_TESTS_QUAD_SQRT_H
#define GEOHARM_TESTS_QUAD_SQRT_H

#include <cmath>

namespace geoharm_test {

using Quad = __float128;

/* sqrt(v) to about 113 bits for 1e-300 < v < 1e300 (the double start
   must be a normal number); 0 for v <= 0. */
inline Quad quadSqrt(Quad v) {
    if (v <= 0) return 0;
    Quad s = std::sqrt(static_cast<double>(v));
    s = (s + v / s) / 2;
    s = (s + v / s) / 2;
    return s;
}

}  // namespace geoharm_test

#endif
