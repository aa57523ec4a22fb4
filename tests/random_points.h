/*
 * random_points.h - deterministic pseudo-random test points: a xorshift64
 * generator (the same sequence on every platform) and points at a radius
 * uniform in a shell, direction uniform on the sphere.
 */
#ifndef GEOHARM_TESTS_RANDOM_POINTS_H
#define GEOHARM_TESTS_RANDOM_POINTS_H

#include <cmath>
#include <cstdint>

namespace geoharm_test {

struct XorShift {
    std::uint64_t state;
    std::uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    /* Uniform in [0, 1): the top 53 bits of one draw. */
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
};

/* A point at radius rMin + rSpan*U (m), direction uniform: three draws. */
inline void randomPoint(XorShift& rng, double rMin, double rSpan, double p[3]) {
    const double r = rMin + rSpan * rng.uniform();
    const double u = 2.0 * rng.uniform() - 1.0;
    const double phi = 6.283185307179586 * rng.uniform();
    const double s = std::sqrt(1.0 - u * u);
    p[0] = r * s * std::cos(phi);
    p[1] = r * s * std::sin(phi);
    p[2] = r * u;
}

}  // namespace geoharm_test

#endif
