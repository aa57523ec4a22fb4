/*
 * accuracy_points.h - the points the accuracy report evaluates a model
 * at: fixed ones where evaluations go wrong first (on the polar axis,
 * within 1e-6 and 1e-9 rad of it, 1 m above the reference sphere, out to
 * 1e8 m) and random ones.
 */
#ifndef GEOHARM_TESTS_MODELS_ACCURACY_POINTS_H
#define GEOHARM_TESTS_MODELS_ACCURACY_POINTS_H

#include <cstdint>
#include <string>
#include <vector>

namespace geoharm_test {

struct AccuracyPoint {
    double p[3];
    std::string label;
};

/* The largest distance from the centre the points reach (m). */
inline constexpr double ACCURACY_FAR = 1e8;

/*
 * accuracyPoints - the fixed points for reference radius R, then
 * randomCount random ones.
 *
 * Given:
 *   radius       the model's R (m)
 *   randomCount  how many random points
 *   seed         their seed
 * Returned:
 *   twelve fixed points: exactly on the axis north and south, at R + 1 m
 *   and 1e8 m; at 1e-6 and 1e-9 rad from a pole at both distances; on the
 *   equator at R + 1 m, R + 400 km, 42164 km and 1e8 m.  Then the random
 *   points: directions uniform on the sphere, heights above R log-uniform
 *   from 1 m to 1e8 m - R.  The labels say where each point is.
 */
std::vector<AccuracyPoint> accuracyPoints(double radius, int randomCount, std::uint64_t seed);

}  // namespace geoharm_test

#endif
