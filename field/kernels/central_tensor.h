/*
 * central_tensor.h - the point mass's part of the gradient tensor and of
 * the potential, added last to the harmonic sums:
 *
 *   T0 = GM (3 x x' / r^5 - I / r^3),   U0 = GM / r.
 *
 * T0 comes from gmr2 = GM / r^2 (computeFieldScalars) and one reciprocal
 * ir = 1/r: g3 = gmr2 ir (GM / r^3), the unit vector w = x ir, and
 * T0(i,j) = ((3 g3) w_i) w_j, less g3 on the diagonal, in GradientEntry's
 * order (xx, yy, zz, xy, xz, yz).  U0 is one division: GM/r rounded once.
 *
 * Templated on the lane type L (V, set1), so that one point (L a double)
 * and the lanes of the many-point routines perform the same operations.
 * At the origin ir is infinite and w NaN: every entry is NaN, U0 infinite.
 */
#ifndef GEOHARM_CENTRAL_TENSOR_H
#define GEOHARM_CENTRAL_TENSOR_H

#include "kernels/scalar_lane.h"
#include "machine/default_nan.h"
#include "model/field_constants.h"

namespace geoharm {

/* t[0..5]: the point-mass tensor's xx, yy, zz, xy, xz, yz (1/s^2). */
template <class L>
inline __attribute__((always_inline)) void centralTensor(const typename L::V x, const typename L::V y,
                                                         const typename L::V z, const typename L::V r,
                                                         const typename L::V gmr2, typename L::V t[6]) {
    using V = typename L::V;
    const V ir = L::set1(1.0) / r;
    const V g3 = gmr2 * ir;
    const V t3 = g3 * L::set1(3.0);
    const V wx = x * ir;
    const V wy = y * ir;
    const V wz = z * ir;
    const V tx = t3 * wx;
    const V ty = t3 * wy;
    t[0] = tx * wx - g3;
    t[1] = ty * wy - g3;
    t[2] = (t3 * wz) * wz - g3;
    t[3] = tx * wy;
    t[4] = tx * wz;
    t[5] = ty * wz;
}

/* storeTensor - the final store of every tensor: T[3i+j] from t[], each
   off-diagonal entry twice (exactly symmetric), a NaN as the default NaN
   (default_nan.h). */
inline __attribute__((always_inline)) void storeTensor(const double t[6], double T[9]) {
    double d[6];
    for (int e = 0; e < 6; e++) d[e] = toDefaultNan(t[e]);
    T[0] = d[0];
    T[1] = d[3];
    T[2] = d[4];
    T[3] = d[3];
    T[4] = d[1];
    T[5] = d[5];
    T[6] = d[4];
    T[7] = d[5];
    T[8] = d[2];
}

/* U0 = GM / r (m^2/s^2). */
template <class L>
inline __attribute__((always_inline)) typename L::V centralPotential(const typename L::V r) {
    return L::set1(GM) / r;
}

}  // namespace geoharm

#endif
