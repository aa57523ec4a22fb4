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
 *      coordinates replaced by -0.0 or +0.0, some written as hex floats.
 */
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
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
    return 0;
}
