/*
 * model_limits.h - the largest model the engine evaluates, and the
 * degrees and orders one evaluation of a model takes.
 *
 * MAX_MODEL_DEGREE (<geoharm/gravity_model_types.h>): the column recursion of model_column.h carries its
 * functions scaled by 2^-930 (model_scaling.h); up to this degree they
 * stay within the range of a double at every latitude (the largest,
 * at the poles, about 10^282 at degree 2700), and a model file or table
 * above it is refused.  The degree of the largest published Earth models
 * (2190) lies well within.
 */
#ifndef GEOHARM_MODEL_LIMITS_H
#define GEOHARM_MODEL_LIMITS_H

#include "geoharm/gravity_model_types.h"

namespace geoharm {

/* The granule of a thread's runs in the engine's many-point routine: a
   whole number of every level's tiles (model_routines.cpp: 8 points with
   AVX-512, 4 with AVX2 and SSE2), and no more, so that a batch of a few
   tiles of a large model still splits evenly over threads. */
constexpr int MODEL_TILE_POINTS = 8;

/* From this degree on, the many-point routine takes its tiles in groups
   of four (model_tile.h), and a thread's runs are whole groups of
   MODEL_GROUP_POINTS points (32 with AVX-512, 16 with AVX2 and SSE2).
   Below it a column's lines of the four tables (C, S and the two
   factors: 4 x 64 bytes a degree) stay in a 48 KB first-level cache from
   one tile to the next anyway, and the group only adds stores of the
   sums (docs/models.md). */
constexpr int MODEL_GROUPED_DEGREE = 200;
constexpr int MODEL_GROUP_POINTS = 32;

/* The granule of a thread's runs at degree `degree` (the terms'). */
inline int modelRunGranule(int degree) {
    return degree >= MODEL_GROUPED_DEGREE ? MODEL_GROUP_POINTS : MODEL_TILE_POINTS;
}

/*
 * ModelLimits - the terms of one evaluation of a model of degree L with
 * the limits N and M, read as the compiled-in model's are: above L means
 * L, M > N means N, and N <= 1 or M < 0 the central term alone (degree 0,
 * whatever C(0,0) holds; degree 1 goes with N >= 2).
 *
 *   degree    the highest degree: 0 or 2..L
 *   order     the highest order: 0..degree
 */
struct ModelLimits {
    int degree;
    int order;
};

inline ModelLimits modelLimits(int L, int N, int M) {
    if (N <= 1 || M < 0) return {0, 0};
    const int degree = N > L ? L : N;
    return {degree, M > degree ? degree : M};
}

}  // namespace geoharm

#endif
