/*
 * polar_point.h - what a point within the polar cap (polar_cap.h) takes
 * besides its ModelPoint: tau = rho t and sigma = rho^2 as pairs of
 * doubles (double_double.h), t formed from u^2 near the pole.
 *
 *   d     = (x^2 + y^2) / (r (r + |z|))      = 1 - |t|, precise near a pole
 *   |t|   = (1 - d) + lo, lo = (1 - hi) - d  (exact: Sterbenz)
 *   tau   = rho t as a pair: Dekker's product rho hi, plus rho lo
 *   sigma = rho rho exactly (Dekker's product)
 *
 * Templated on the lane type L: every lane performs the same operations.
 */
#ifndef GEOHARM_POLAR_POINT_H
#define GEOHARM_POLAR_POINT_H

#include "models/double_double.h"
#include "models/model_sums.h"

namespace geoharm {

template <class V>
struct PolarPoint {
    Pair2<V> tau;
    Pair2<V> sigma;
};

template <class L>
inline __attribute__((always_inline)) PolarPoint<typename L::V> polarPoint(const typename L::V x,
                                                                           const typename L::V y,
                                                                           const typename L::V z,
                                                                           const ModelPoint<typename L::V>& p) {
    using V = typename L::V;
    const V zero = L::set1(0.0), one = L::set1(1.0);
    const V sign = z < zero ? -one : one;
    const V d = (x * x + y * y) / (p.r * (p.r + z * sign));
    const V hi = one - d;
    const V lo = (one - hi) - d;
    const Pair2<V> product = exactProduct<L>(p.rho, hi * sign);
    PolarPoint<V> polar;
    polar.tau = renormalized<L>(product.hi, product.lo + p.rho * (lo * sign));
    polar.sigma = exactProduct<L>(p.rho, p.rho);
    return polar;
}

}  // namespace geoharm

#endif
