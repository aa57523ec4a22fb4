/*
 * make_model_records DEGREE - the records "x y z N M" of the model identity
 * tests (a synthetic model of degree DEGREE): the accuracy report's fixed
 * points (tests/models/accuracy_points.h: on and near the poles and the
 * axis, 1 m above R to 1e8 m) each with every limit pair below, 240 random
 * ones with one pair each, the origin, a NaN.  The pairs: the whole model,
 * N above the degree, M above N, orders cut, the central term alone.
 */
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "models/accuracy_points.h"
#include "models/synthetic_constants.h"

namespace {

void put(const double p[3], const int nm[2]) {
    std::printf("%.17g %.17g %.17g %d %d\n", p[0], p[1], p[2], nm[0], nm[1]);
}

}  // namespace

int main(int argc, char** argv) {
    const int L = argc == 2 ? std::atoi(argv[1]) : 0;
    if (L < 2) return 2;
    const int pairs[][2] = {{L, L}, {L, 0}, {L + 1, L + 1}, {INT_MAX, INT_MAX}, {L, INT_MAX}, {L - 1, L}, {L / 2, 7},
                            {2, 2}, {2, 0}, {3, 1},         {1, 1},             {0, 0},      {-1, 5},    {L, -1},
                            {INT_MIN, INT_MIN}};
    const int count = static_cast<int>(sizeof pairs / sizeof pairs[0]), RANDOM = 240;
    const auto points = geoharm_test::accuracyPoints(geoharm_test::SYNTHETIC_RADIUS, RANDOM, 20261210);
    for (std::size_t i = 0; i < points.size(); i++) {
        if (i + RANDOM >= points.size()) put(points[i].p, pairs[i % count]);
        for (int k = 0; i + RANDOM < points.size() && k < count; k++) put(points[i].p, pairs[k]);
    }
    const double origin[3] = {0.0, 0.0, 0.0}, nan[3] = {7e6, 0.0, std::nan("")};
    put(origin, pairs[0]);
    put(nan, pairs[0]);
    return 0;
}
