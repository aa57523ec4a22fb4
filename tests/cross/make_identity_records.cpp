/*
 * make_identity_records - writes the committed record set of the
 * cross-platform identity test (tests/data/identity_records.txt) to
 * standard output, in geoharm-eval's input format "x y z N M".
 *
 * Deterministic: a fixed-seed std::mt19937_64 (whose output sequence the
 * C++ standard fixes) and our own mapping of its integers to doubles (the
 * standard distributions are not portable).  The file is generated once on
 * Linux and committed; a test checks that it still matches this program.
 *
 * Contents, in order:
 *   1. the worked examples (tests/worked_examples.h);
 *   2. points on the three axes and the poles at several radii, each with
 *      the signs of its zero coordinates flipped (+0.0 and -0.0), and the
 *      origin;
 *   3. every (N, M) in -2..12 x -2..12 at a fixed point;
 *   4. random points, radius log-uniform from 100 km above the reference
 *      sphere to 60 000 km (beyond the geostationary radius, 42 164 km),
 *      direction uniform on the sphere, N and M uniform in -2..12; some
 *      coordinates replaced by -0.0 or +0.0, some written as hex floats;
 *   5. non-finite and extreme positions, each with several (N, M): the
 *      origin with every sign of zero, infinite and NaN coordinates, radii
 *      around sqrt(DBL_MAX) (where r*r overflows) and around 1.49e-147 m
 *      (where GM/r^2 overflows), positions so close to the centre that the
 *      harmonic terms overflow, and subnormal coordinates beside ordinary
 *      ones (written as hex floats and as decimals).
 *      (Appended after the random points, so that the lines before them
 *      stay as they were.)
 */
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>

#include "worked_examples.h"

namespace {

std::mt19937_64 rng(20261208);

/* Uniform double in [0, 1): the top 53 bits of one draw. */
double uniform01() { return static_cast<double>(rng() >> 11) * 0x1p-53; }

/* Uniform integer in lo..hi. */
int uniformInt(int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<std::uint64_t>(hi - lo + 1)); }

void put(double x, double y, double z, int n, int m) { std::printf("%.17g %.17g %.17g %d %d\n", x, y, z, n, m); }

}  // namespace

int main() {
    constexpr double PI = 3.14159265358979323846;
    constexpr double R_MIN = 6378137.0 + 100000.0; /* 100 km above the reference sphere */
    constexpr double R_MAX = 60000000.0;           /* beyond geostationary (42 164 km) */

    /* 1. The worked examples. */
    std::printf("# worked examples\n");
    for (const auto& w : geoharm_test::WORKED_EXAMPLES) put(w.x, w.y, w.z, w.n, w.m);

    /* 2. Axes and poles, with both signs of zero; the origin. */
    std::printf("# axes and poles, +0.0 and -0.0\n");
    const double radii[] = {R_MIN, 6600000.0, 7000000.0, 26560000.0, 42164000.0, R_MAX};
    const int orders[][2] = {{10, 10}, {2, 0}, {12, 12}, {-1, -1}, {5, 3}};
    for (double r : radii) {
        for (int axis = 0; axis < 3; axis++) {
            for (double sign : {1.0, -1.0}) {
                for (int zeros = 0; zeros < 4; zeros++) {
                    double p[3];
                    /* The two zero coordinates, with sign bits from `zeros`. */
                    int k = 0;
                    for (int i = 0; i < 3; i++) {
                        if (i == axis) {
                            p[i] = sign * r;
                        } else {
                            p[i] = ((zeros >> k) & 1) ? -0.0 : 0.0;
                            k++;
                        }
                    }
                    for (const auto& nm : orders) put(p[0], p[1], p[2], nm[0], nm[1]);
                }
            }
        }
    }
    put(0.0, 0.0, 0.0, 10, 10);
    put(-0.0, -0.0, -0.0, 0, 0);

    /* 3. Every degree and order limit at one point. */
    std::printf("# N, M in -2..12\n");
    for (int n = -2; n <= 12; n++)
        for (int m = -2; m <= 12; m++) put(7000000.0, 1000000.0, 2000000.0, n, m);

    /* 4. Random points. */
    std::printf("# random points\n");
    for (int i = 0; i < 11000; i++) {
        const double r = R_MIN * std::exp(uniform01() * std::log(R_MAX / R_MIN));
        const double cz = 2.0 * uniform01() - 1.0;
        const double lon = 2.0 * PI * uniform01();
        const double sz = std::sqrt(1.0 - cz * cz);
        double p[3] = {r * sz * std::cos(lon), r * sz * std::sin(lon), r * cz};
        const int n = uniformInt(-2, 12);
        const int m = uniformInt(-2, 12);
        /* One record in 16 has a zero coordinate of either sign. */
        if (uniformInt(0, 15) == 0) p[uniformInt(0, 2)] = uniformInt(0, 1) ? -0.0 : 0.0;
        /* One record in 32 is written with hex floats. */
        if (uniformInt(0, 31) == 0) {
            std::printf("%a %a %a %d %d\n", p[0], p[1], p[2], n, m);
        } else {
            put(p[0], p[1], p[2], n, m);
        }
    }
    /* 5. Non-finite and extreme positions. */
    std::printf("# non-finite and extreme positions\n");
    const double INF = std::numeric_limits<double>::infinity();
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const double BIG = std::numeric_limits<double>::max();
    const double TINY = std::numeric_limits<double>::denorm_min();
    const double ROOT_MAX = std::sqrt(BIG); /* largest r whose r*r is finite */
    const double extreme[][3] = {
        /* the origin, every sign of zero */
        {0.0, 0.0, 0.0}, {-0.0, 0.0, 0.0}, {0.0, -0.0, 0.0}, {0.0, 0.0, -0.0}, {-0.0, -0.0, -0.0},
        /* infinite coordinates */
        {INF, 1e7, 1e7}, {-INF, 1e7, 1e7}, {1e7, INF, -2e6}, {1e7, -2e6, -INF}, {INF, 0.0, 0.0},
        {0.0, -INF, 0.0}, {0.0, 0.0, INF}, {INF, INF, INF}, {-INF, INF, -INF}, {INF, NaN, 0.0},
        /* NaN coordinates */
        {NaN, 1e7, 1e7}, {1e7, NaN, 1e7}, {1e7, 1e7, NaN}, {NaN, NaN, NaN},
        /* r*r at the top of the range: just finite, just overflowing, far beyond */
        {ROOT_MAX, 0.0, 0.0}, {std::nextafter(ROOT_MAX, INF), 0.0, 0.0}, {0.0, -ROOT_MAX, 0.0},
        {0.0, 0.0, std::nextafter(-ROOT_MAX, -INF)}, {1.3e154, 0.0, 0.0}, {9.48e153, 9.48e153, 0.0},
        {1e154, 1e154, 1e154}, {-1e154, 1e154, -1e154}, {1e200, -1e200, 1e200}, {BIG, 0.0, 0.0},
        {-BIG, BIG, -BIG}, {1e150, 1e150, 1e150},
        /* GM/r^2 at the top of the range (r about 1.489e-147 m) */
        {1.5e-147, 0.0, 0.0}, {1.49e-147, 0.0, 0.0}, {1.48e-147, 0.0, 0.0}, {1e-150, 1e-150, 1e-150},
        {1e-160, 1e-160, -1e-160}, {1e-170, -1e-170, 0.0}, {TINY, 0.0, 0.0}, {TINY, -TINY, TINY},
        {std::numeric_limits<double>::min(), 0.0, 0.0},
        /* so close to the centre that the harmonic terms overflow */
        {1e-10, 1e-10, 1e-10}, {1e-18, 0.0, 0.0}, {1e-19, 0.0, 0.0}, {3e-19, -2e-19, 1e-19}, {1.0, 1.0, 1.0},
        /* subnormal and underflowing coordinates beside ordinary ones */
        {TINY, 7000000.0, 0.0}, {7000000.0, -TINY, 1e-310}, {-1e-320, 2.2e-308, 6600000.0},
        {1e-160, -1e-155, 7000000.0}, {26560000.0, 4e-320, -0.0}};
    const int extremeOrders[][2] = {{10, 10}, {10, 0}, {2, 2}, {0, 0}, {-1, -1}, {1, 1}, {12, 3}};
    int k = 0;
    for (const auto& p : extreme) {
        for (const auto& nm : extremeOrders) {
            /* Every third record in hex floats (NaN and inf print alike). */
            if (k++ % 3 == 2) {
                std::printf("%a %a %a %d %d\n", p[0], p[1], p[2], nm[0], nm[1]);
            } else {
                put(p[0], p[1], p[2], nm[0], nm[1]);
            }
        }
    }
    return 0;
}
