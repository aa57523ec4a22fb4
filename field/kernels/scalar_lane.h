/*
 * scalar_lane.h - a plain double as a lane type of width 1, so that the
 * templates written for vector lanes (lane_divide.h, central_tensor.h,
 * models/model_sums.h) perform the same operations on one double; its
 * sqrt is the correctly rounded one.
 */
#ifndef GEOHARM_SCALAR_LANE_H
#define GEOHARM_SCALAR_LANE_H

namespace geoharm {

struct ScalarLane {
    using V = double;
    static constexpr int WIDTH = 1;
    static double set1(double v) { return v; }
    static double sqrt(double v) { return __builtin_sqrt(v); }
};

}  // namespace geoharm

#endif
