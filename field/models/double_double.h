/*
 * double_double.h - numbers held as the unevaluated sum of two doubles,
 * hi + lo with |lo| <= ulp(hi)/2, and the few operations on them that the
 * engine needs where a double's 53 bits are too few (the recursion near
 * the poles, column_caps.h): exact products and sums of doubles, then
 * products and differences of such pairs, to about 2^-104 relative.
 *
 * Only IEEE double operations, each rounded on its own, and no fused
 * multiply-add: the exact product comes from Veltkamp's splitting of each
 * factor into two halves of 26 bits (Dekker's product), so every build
 * gets the same pair.  Valid while no intermediate overflows: factors
 * below 2^995 in magnitude (the split multiplies by 2^27 + 1).
 *
 * Templated on the lane type L (kernels/scalar_lane.h, or a level's lanes):
 * every lane performs the same operations.
 *
 * References:
 *   Dekker, T. J. (1971), A floating-point technique for extending the
 *   available precision, Numerische Mathematik 18, 224-242 (mul12, add2,
 *   mul2).
 *   Knuth (1998), sec. 4.2.2 (TwoSum).
 */
#ifndef GEOHARM_DOUBLE_DOUBLE_H
#define GEOHARM_DOUBLE_DOUBLE_H

namespace geoharm {

template <class V>
struct Pair2 {
    V hi, lo;
};

/* a = hi + lo exactly, hi and lo of 26 bits each at most. */
template <class L>
inline __attribute__((always_inline)) void splitDouble(const typename L::V a, typename L::V& hi, typename L::V& lo) {
    const typename L::V c = L::set1(134217729.0) * a; /* 2^27 + 1 */
    hi = c - (c - a);
    lo = a - hi;
}

/* a b exactly, as the rounded product and its error. */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> exactProduct(const typename L::V a, const typename L::V b) {
    using V = typename L::V;
    V ah, al, bh, bl;
    splitDouble<L>(a, ah, al);
    splitDouble<L>(b, bh, bl);
    const V p = a * b;
    const V e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
    return {p, e};
}

/* a + b exactly (Knuth's TwoSum). */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> exactSum(const typename L::V a, const typename L::V b) {
    using V = typename L::V;
    const V s = a + b;
    const V bv = s - a;
    const V e = (a - (s - bv)) + (b - bv);
    return {s, e};
}

/* The pair (s, e) with |e| small against s made a normalised pair. */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> renormalized(const typename L::V s, const typename L::V e) {
    const typename L::V hi = s + e;
    return {hi, e - (hi - s)};
}

/* x y of two pairs. */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> pairProduct(const Pair2<typename L::V> x,
                                                                       const Pair2<typename L::V> y) {
    const Pair2<typename L::V> p = exactProduct<L>(x.hi, y.hi);
    return renormalized<L>(p.hi, p.lo + (x.hi * y.lo + x.lo * y.hi));
}

/* x - y of two pairs. */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> pairDifference(const Pair2<typename L::V> x,
                                                                          const Pair2<typename L::V> y) {
    const Pair2<typename L::V> s = exactSum<L>(x.hi, -y.hi);
    return renormalized<L>(s.hi, s.lo + (x.lo - y.lo));
}

/* x + y of two pairs. */
template <class L>
inline __attribute__((always_inline)) Pair2<typename L::V> pairSum(const Pair2<typename L::V> x,
                                                                   const Pair2<typename L::V> y) {
    const Pair2<typename L::V> s = exactSum<L>(x.hi, y.hi);
    return renormalized<L>(s.hi, s.lo + (x.lo + y.lo));
}

}  // namespace geoharm

#endif
