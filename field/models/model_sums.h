/*
 * model_sums.h - from the sums of each order's column to the potential,
 * the acceleration and the gradient tensor: the part of a model's
 * evaluation after the recursion, the same for one point and for many
 * (a template on the lane type L: kernels/scalar_lane.h, or a vector
 * register's lanes, each lane a point).
 *
 * The potential of a model, with r, t = z/r, xi = (x + i y)/r, rho = R/r,
 * Abar(n,m) = Pbar(n,m)(t)/u^m (u^2 = 1 - t^2: Pbar the fully normalised
 * associated Legendre function) and K(n,m) = Cbar(n,m) - i Sbar(n,m), is
 *
 *   U = (GM/R) Re sum over m of xi^m F(m),
 *   F(m) = sum over n of rho^(n+1) Abar(n,m) K(n,m)
 *        = rho^(m+1) G0(m),  G0(m) = sum over n of rho^(n-m) Abar(n,m) K(n,m).
 *
 * So U = (GM/R) rho Re sum of eta^m G0(m) with eta = rho xi = R (x + iy)/r^2:
 * a polynomial in eta, summed by Horner's scheme from the highest order
 * down (each step H = H eta + X), which keeps every partial sum in range
 * however small eta^m is.  Its Cartesian derivatives need, per column, the
 * sums with the weights (n+1) and (n+1)^2 (D = rho d/drho) and with the
 * derivatives of Abar in t (T = d/dt):
 *
 *   G0 = sum B K,  G1 = sum (n+1) B K,  G2 = sum (n+1)^2 B K,
 *   H0 = sum B' K, H1 = sum (n+1) B' K,  J0 = sum B'' K,
 *
 * B = rho^(n-m) Abar(n,m) and B', B'' its derivatives in t at fixed rho
 * (model_column.h makes them).  With the unit vector s = (x, y, z)/r,
 * e = (1, i, 0), and w = z - t s = (-t s_x, -t s_y, u^2) (u^2 = (x^2 +
 * y^2)/r^2: the direction in which t grows, of length u, formed without
 * the cancellation of 1 - t^2 near a pole), grad xi = (e - xi s)/r,
 * grad rho = -rho s/r and grad t = w/r give
 *
 *   a = (GM/r^2) Re[ rho e HA + w HB - s HC ]
 *   HA = sum_{m>=1} eta^(m-1) m G0,  HB = sum eta^m H0,
 *   HC = sum eta^m Psi,  Psi = m G0 + G1
 *
 * and, differentiated once more (grad w = -(w s' + t (I - s s'))/r,
 * grad s = (I - s s')/r; the symmetric parts of each pair gathered),
 *
 *   T = (GM/r^3) Re[ rho^2 HAe e e + rho HAw (e w + w e) + HBw w w
 *                    - rho HCe (e s + s e) - (HB + HBs) (w s + s w)
 *                    + (HC + HCs) s s - (t HB + HC) P ]
 *   HAe = sum_{m>=2} eta^(m-2) m(m-1) G0,   HAw = sum_{m>=1} eta^(m-1) m H0,
 *   HBw = sum eta^m J0,   HCe = sum_{m>=1} eta^(m-1) m Psi,
 *   HBs = sum eta^m (m H0 + H1),   HCs = sum eta^m (m Psi + m G1 + G2),
 *
 * with P = I - s s' formed from the coordinates (P_zz = (x^2 + y^2)/r^2,
 * ...), again without a difference of nearly equal numbers.  Near a pole
 * HB and its kin grow as the square of the degree while w and u^2 vanish:
 * written with s and z instead of w and P, the terms would cancel and
 * leave their rounding behind.  Each tensor is real-symmetric by
 * construction (six entries formed, stored mirrored), and its trace
 * vanishes term by term (the potential is harmonic).  No division by u
 * appears: the evaluation holds on the polar axis (eta = 0, w = 0) as
 * anywhere.
 *
 * Order of operations (every one an IEEE double operation rounded on its
 * own): as written in the code, left to right; the column sums come in
 * with their S parts negated (K = C - i S); every Horner sum starts at +0
 * and takes its orders from the highest down.  The sums carry the
 * columns' scale 2^-930 (model_scaling.h), removed (exactly) before the
 * constants are applied.
 *
 * References:
 *   Pines, S. (1973), Uniform representation of the gravitational
 *   potential and its derivatives, AIAA Journal 11(11), 1508-1511 (the
 *   functions Abar(n,m) of t and the powers of (x + iy)/r, free of any
 *   singularity at the poles).
 *   Holmes and Featherstone (2002), sec. 3.2 (Horner's scheme in u with
 *   the scaled functions).
 */
#ifndef GEOHARM_MODEL_SUMS_H
#define GEOHARM_MODEL_SUMS_H

#include "kernels/central_tensor.h"
#include "machine/default_nan.h"
#include "models/model_scaling.h"

namespace geoharm {

/* Per point: the position and what the recursion and the sums need of it. */
template <class V>
struct ModelPoint {
    V r;           /* distance from the origin, sqrt((x^2 + y^2) + z^2) */
    V rho, sigma;  /* R/r and rho^2 */
    V rhoTwice;    /* 2 rho (exact) */
    V tau;         /* z R/r^2 = rho t */
    V etaX, etaY;  /* eta = (x + iy) R/r^2 */
    V sx, sy, t;   /* the unit vector (x, y, z)/r */
    V pxx, pyy, pzz; /* the diagonal of I - s s': (y^2 + z^2)/r^2, (x^2 + z^2)/r^2, (x^2 + y^2)/r^2 */
    V gmr2;        /* GM/r^2 */
};

/* ModelPoint of (x, y, z) for a model of radius R and gravitational
   parameter GM. */
template <class L>
inline __attribute__((always_inline)) ModelPoint<typename L::V> modelPoint(const typename L::V x,
                                                                           const typename L::V y,
                                                                           const typename L::V z, const double radius,
                                                                           const double gm) {
    using V = typename L::V;
    ModelPoint<V> p;
    const V xx = x * x, yy = y * y, zz = z * z;
    p.r = L::sqrt((xx + yy) + zz);
    const V s = p.r * p.r;
    const V q = L::set1(radius) / s;
    p.rho = L::set1(radius) / p.r;
    p.sigma = p.rho * p.rho;
    p.rhoTwice = p.rho + p.rho;
    p.tau = z * q;
    p.etaX = x * q;
    p.etaY = y * q;
    p.sx = x / p.r;
    p.sy = y / p.r;
    p.t = z / p.r;
    p.pxx = (yy + zz) / s;
    p.pyy = (xx + zz) / s;
    p.pzz = (xx + yy) / s;
    p.gmr2 = L::set1(gm) / s;
    return p;
}

/* One column's sums, C and S parts apart (G0, G1, H0; with the tensor G2,
   H1, J0 too). */
template <class V>
struct ColumnSums {
    V g0c, g0s, g1c, g1s, h0c, h0s;
    V g2c, g2s, h1c, h1s, j0c, j0s;
};

template <class V>
struct Complex {
    V re, im;
};

/* The Horner sums of one point (HU: the potential's). */
template <class V>
struct HornerSums {
    Complex<V> U, A, B, C;
    Complex<V> Ae, Aw, Bw, Ce, Bs, Cs;
};

template <class L>
inline __attribute__((always_inline)) void clearHorner(HornerSums<typename L::V>& h) {
    const Complex<typename L::V> zero{L::set1(0.0), L::set1(0.0)};
    h = HornerSums<typename L::V>{zero, zero, zero, zero, zero, zero, zero, zero, zero, zero};
}

/* h = h eta + x. */
template <class L>
inline __attribute__((always_inline)) void hornerStep(Complex<typename L::V>& h, const ModelPoint<typename L::V>& p,
                                                      const Complex<typename L::V> x) {
    const typename L::V re = (h.re * p.etaX - h.im * p.etaY) + x.re;
    const typename L::V im = (h.re * p.etaY + h.im * p.etaX) + x.im;
    h.re = re;
    h.im = im;
}

/* k x for a real weight k. */
template <class L>
inline __attribute__((always_inline)) Complex<typename L::V> weighted(const typename L::V k,
                                                                      const Complex<typename L::V> x) {
    return {k * x.re, k * x.im};
}

/* a + b. */
template <class L>
inline __attribute__((always_inline)) Complex<typename L::V> plus(const Complex<typename L::V> a,
                                                                  const Complex<typename L::V> b) {
    return {a.re + b.re, a.im + b.im};
}

/*
 * addColumn - the Horner step of order m: every sum takes its term of
 * column m (TENSOR: the tensor's too).  Orders come from the highest
 * down; the sums that start at order 1 or 2 skip the lower ones.
 */
template <class L, bool TENSOR>
inline __attribute__((always_inline)) void addColumn(HornerSums<typename L::V>& h, const ModelPoint<typename L::V>& p,
                                                     const int m, const ColumnSums<typename L::V>& c) {
    using V = typename L::V;
    using Z = Complex<V>;
    const V mm = L::set1(static_cast<double>(m));
    const Z G0{c.g0c, -c.g0s}, G1{c.g1c, -c.g1s}, H0{c.h0c, -c.h0s};
    const Z mG0 = weighted<L>(mm, G0);
    const Z psi = plus<L>(mG0, G1);

    hornerStep<L>(h.U, p, G0);
    if (m >= 1) hornerStep<L>(h.A, p, mG0);
    hornerStep<L>(h.B, p, H0);
    hornerStep<L>(h.C, p, psi);
    if (!TENSOR) return;

    const Z G2{c.g2c, -c.g2s}, H1{c.h1c, -c.h1s}, J0{c.j0c, -c.j0s};
    if (m >= 2) hornerStep<L>(h.Ae, p, weighted<L>(L::set1(static_cast<double>(m) * (m - 1)), G0));
    if (m >= 1) hornerStep<L>(h.Aw, p, weighted<L>(mm, H0));
    hornerStep<L>(h.Bw, p, J0);
    if (m >= 1) hornerStep<L>(h.Ce, p, weighted<L>(mm, psi));
    hornerStep<L>(h.Bs, p, plus<L>(weighted<L>(mm, H0), H1));
    hornerStep<L>(h.Cs, p, plus<L>(plus<L>(weighted<L>(mm, psi), weighted<L>(mm, G1)), G2));
}

/* The potential (m^2/s^2) from the finished sums. */
template <class L>
inline __attribute__((always_inline)) typename L::V modelPotential(const HornerSums<typename L::V>& h,
                                                                    const ModelPoint<typename L::V>& p,
                                                                    const double gmOverRadius) {
    return ((h.U.re * L::set1(COLUMN_UNSCALE)) * p.rho) * L::set1(gmOverRadius);
}

/* The acceleration (m/s^2) from the finished sums. */
template <class L>
inline __attribute__((always_inline)) void modelAcceleration(const HornerSums<typename L::V>& h,
                                                             const ModelPoint<typename L::V>& p, typename L::V a[3]) {
    using V = typename L::V;
    const V unscale = L::set1(COLUMN_UNSCALE);
    const V wx = -(p.t * p.sx), wy = -(p.t * p.sy);
    const V vx = (p.rho * h.A.re + wx * h.B.re) - p.sx * h.C.re;
    const V vy = (-(p.rho * h.A.im) + wy * h.B.re) - p.sy * h.C.re;
    const V vz = p.pzz * h.B.re - p.t * h.C.re;
    a[0] = (vx * unscale) * p.gmr2;
    a[1] = (vy * unscale) * p.gmr2;
    a[2] = (vz * unscale) * p.gmr2;
}

/* The tensor's xx, yy, zz, xy, xz, yz (1/s^2) from the finished sums. */
template <class L>
inline __attribute__((always_inline)) void modelTensor(const HornerSums<typename L::V>& h,
                                                       const ModelPoint<typename L::V>& p, typename L::V t6[6]) {
    using V = typename L::V;
    const Complex<V> P = weighted<L>(p.sigma, h.Ae);
    const Complex<V> Q = weighted<L>(p.rho, h.Aw);
    const Complex<V> Ce = weighted<L>(p.rho, h.Ce);
    const V bw = h.Bw.re;
    const V X = h.B.re + h.Bs.re;
    const V Y = h.C.re + h.Cs.re;
    const V Zp = p.t * h.B.re + h.C.re;
    const V sx = p.sx, sy = p.sy, sz = p.t;
    const V wx = -(p.t * p.sx), wy = -(p.t * p.sy), wz = p.pzz;
    V e[6];
    /* xx, yy, zz */
    e[0] = (((((P.re + (wx + wx) * Q.re) + (wx * wx) * bw) - (sx + sx) * Ce.re) - ((wx + wx) * sx) * X) +
            (sx * sx) * Y) - Zp * p.pxx;
    e[1] = (((((-P.re - (wy + wy) * Q.im) + (wy * wy) * bw) + (sy + sy) * Ce.im) - ((wy + wy) * sy) * X) +
            (sy * sy) * Y) - Zp * p.pyy;
    e[2] = (((wz * wz) * bw - ((wz + wz) * sz) * X) + (sz * sz) * Y) - Zp * p.pzz;
    /* xy, xz, yz: P's off-diagonal entries are -s_i s_j */
    e[3] = (((((-P.im + (wy * Q.re - wx * Q.im)) + (wx * wy) * bw) - (sy * Ce.re - sx * Ce.im)) -
             (wx * sy + sx * wy) * X) + (sx * sy) * Y) + Zp * (sx * sy);
    e[4] = ((((wz * Q.re + (wx * wz) * bw) - sz * Ce.re) - (wx * sz + sx * wz) * X) + (sx * sz) * Y) +
           Zp * (sx * sz);
    e[5] = ((((-(wz * Q.im) + (wy * wz) * bw) + sz * Ce.im) - (wy * sz + sy * wz) * X) + (sy * sz) * Y) +
           Zp * (sy * sz);
    const V unscale = L::set1(COLUMN_UNSCALE);
    const V gmr3 = p.gmr2 / p.r;
    for (int i = 0; i < 6; i++) t6[i] = (e[i] * unscale) * gmr3;
}

/*
 * storeModelResults - the outputs of one point from its finished sums,
 * each that is not null: U, a[3], T[9] (mirrored from six entries); every
 * NaN the default NaN.
 */
template <class L>
inline __attribute__((always_inline)) void storeModelResults(const HornerSums<double>& h, const ModelPoint<double>& p, const double gmOverRadius,
                              double* U, double a[3], double T[9]) {
    if (U != nullptr) *U = toDefaultNan(modelPotential<L>(h, p, gmOverRadius));
    if (a != nullptr) {
        modelAcceleration<L>(h, p, a);
        for (int i = 0; i < 3; i++) a[i] = toDefaultNan(a[i]);
    }
    if (T != nullptr) {
        double t6[6];
        modelTensor<L>(h, p, t6);
        storeTensor(t6, T);
    }
}

}  // namespace geoharm

#endif
