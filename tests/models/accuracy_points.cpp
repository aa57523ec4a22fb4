/*
 * accuracy_points.cpp - the report's point set.
 */
#include "accuracy_points.h"

#include <cmath>
#include <cstdio>

#include "../random_points.h"

namespace geoharm_test {

namespace {

/* The point at distance r, colatitude theta (from the north pole) and
   longitude lambda (rad). */
AccuracyPoint polarPoint(double r, double theta, double lambda, const char* where) {
    AccuracyPoint a;
    a.p[0] = r * std::sin(theta) * std::cos(lambda);
    a.p[1] = r * std::sin(theta) * std::sin(lambda);
    a.p[2] = r * std::cos(theta);
    char label[120];
    std::snprintf(label, sizeof label, "%s, r = %.17g m", where, r);
    a.label = label;
    return a;
}

}  // namespace

std::vector<AccuracyPoint> accuracyPoints(double radius, int randomCount, std::uint64_t seed) {
    const double pi = 3.141592653589793;
    const double near = radius + 1.0;
    std::vector<AccuracyPoint> points;
    for (double r : {near, ACCURACY_FAR}) {
        AccuracyPoint north = polarPoint(r, 0.0, 0.0, "on the axis, north");
        north.p[0] = north.p[1] = 0.0;
        AccuracyPoint south = north;
        south.p[2] = -r;
        south.label = north.label;
        south.label.replace(south.label.find("north"), 5, "south");
        points.push_back(north);
        points.push_back(south);
    }
    points.push_back(polarPoint(near, 1e-6, 0.7, "1e-6 rad from the north pole"));
    points.push_back(polarPoint(near, pi - 1e-9, 2.1, "1e-9 rad from the south pole"));
    points.push_back(polarPoint(ACCURACY_FAR, pi - 1e-6, -1.3, "1e-6 rad from the south pole"));
    points.push_back(polarPoint(ACCURACY_FAR, 1e-9, 3.0, "1e-9 rad from the north pole"));
    for (double r : {near, radius + 4e5, 4.2164e7, ACCURACY_FAR}) points.push_back(polarPoint(r, pi / 2, 0.4, "equator"));

    XorShift rng{seed | 1};
    const double span = std::log(ACCURACY_FAR - radius);
    for (int i = 0; i < randomCount; i++) {
        AccuracyPoint a;
        randomPoint(rng, 1.0, 0.0, a.p);
        const double r = radius + std::exp(span * rng.uniform());
        for (double& c : a.p) c *= r;
        char label[160];
        std::snprintf(label, sizeof label, "random (%.17g, %.17g, %.17g), height %.4g m", a.p[0], a.p[1], a.p[2],
                      r - radius);
        a.label = label;
        points.push_back(a);
    }
    return points;
}

}  // namespace geoharm_test
