/*
 * gradient_reference.h - an independent reference for the potential, the
 * acceleration and the gradient tensor of the model, in 113-bit binary
 * floating point (__float128), for the accuracy tests.
 *
 * Nothing is shared with the evaluation but the model's coefficients: the
 * potential is summed term by term from its definition,
 *
 *   U = GM/r + (GM/R) sum (R/r)^(n+1) P(n,m)(z/r) (C Re + S Im)((x + iy)/r)^m
 *               / cos^m(latitude) ...
 *
 * written without angles: P(n,m)(sin phi) cos^m(phi) (cos, sin)(m lambda) =
 * P_n^(m)(t) (Re, Im)((x + iy)/r)^m with t = z/r and P_n^(m) the m-th
 * derivative of the Legendre polynomial P_n, whose coefficients are the
 * exact integers of P_n(t) = 2^-n sum_k (-1)^k C(n,k) C(2n-2k,n) t^(n-2k)
 * (no Condon-Shortley phase, unnormalised, as the model's coefficients
 * are).  Each quantity is a second-order jet in the Cartesian coordinates
 * (value, gradient, Hessian), carried through every operation by the
 * chain rule (forward automatic differentiation), so the acceleration is
 * the jet's gradient and the tensor its Hessian, exactly as far as 113
 * bits go; no recursion of the solid harmonics, no finite difference.
 */
#ifndef GEOHARM_TESTS_GRADIENT_REFERENCE_H
#define GEOHARM_TESTS_GRADIENT_REFERENCE_H

#include <cmath>
#include <cstdint>
#include <vector>

#include "model/coefficient_tables.h"
#include "model/field_constants.h"
#include "quad_sqrt.h"

namespace geoharm_test {

/* A function of (x, y, z) with its gradient and Hessian; h[] in the order
   xx, yy, zz, xy, xz, yz. */
struct Jet {
    Quad v = 0;
    Quad g[3] = {0, 0, 0};
    Quad h[6] = {0, 0, 0, 0, 0, 0};
};

/* Index of the Hessian entry (i, j) in Jet::h. */
constexpr int HESSIAN_INDEX[3][3] = {{0, 3, 4}, {3, 1, 5}, {4, 5, 2}};

inline Jet constantJet(Quad c) {
    Jet j;
    j.v = c;
    return j;
}

/* The coordinate i (0 x, 1 y, 2 z) at value c. */
inline Jet coordinateJet(int i, Quad c) {
    Jet j;
    j.v = c;
    j.g[i] = 1;
    return j;
}

inline Jet operator+(const Jet& a, const Jet& b) {
    Jet r;
    r.v = a.v + b.v;
    for (int i = 0; i < 3; i++) r.g[i] = a.g[i] + b.g[i];
    for (int k = 0; k < 6; k++) r.h[k] = a.h[k] + b.h[k];
    return r;
}

inline Jet operator-(const Jet& a, const Jet& b) {
    Jet r;
    r.v = a.v - b.v;
    for (int i = 0; i < 3; i++) r.g[i] = a.g[i] - b.g[i];
    for (int k = 0; k < 6; k++) r.h[k] = a.h[k] - b.h[k];
    return r;
}

inline Jet operator*(Quad c, const Jet& a) {
    Jet r;
    r.v = c * a.v;
    for (int i = 0; i < 3; i++) r.g[i] = c * a.g[i];
    for (int k = 0; k < 6; k++) r.h[k] = c * a.h[k];
    return r;
}

inline Jet operator*(const Jet& a, const Jet& b) {
    Jet r;
    r.v = a.v * b.v;
    for (int i = 0; i < 3; i++) r.g[i] = a.g[i] * b.v + a.v * b.g[i];
    for (int i = 0; i < 3; i++)
        for (int j = i; j < 3; j++) {
            const int k = HESSIAN_INDEX[i][j];
            r.h[k] = a.h[k] * b.v + a.v * b.h[k] + a.g[i] * b.g[j] + a.g[j] * b.g[i];
        }
    return r;
}

/* f(a) given f, f' and f'' at a.v. */
inline Jet chain(const Jet& a, Quad f0, Quad f1, Quad f2) {
    Jet r;
    r.v = f0;
    for (int i = 0; i < 3; i++) r.g[i] = f1 * a.g[i];
    for (int i = 0; i < 3; i++)
        for (int j = i; j < 3; j++) {
            const int k = HESSIAN_INDEX[i][j];
            r.h[k] = f1 * a.h[k] + f2 * a.g[i] * a.g[j];
        }
    return r;
}

inline Jet reciprocal(const Jet& a) {
    const Quad f0 = 1 / a.v;
    return chain(a, f0, -f0 * f0, 2 * f0 * f0 * f0);
}

inline Jet squareRoot(const Jet& a) {
    const Quad s = quadSqrt(a.v);
    return chain(a, s, 1 / (2 * s), -1 / (4 * s * a.v));
}

/* The coefficients of P_n^(m)(t), lowest power first, exactly. */
inline std::vector<Quad> legendreDerivative(int n, int m) {
    std::vector<std::int64_t> p(static_cast<std::size_t>(n) + 1, 0);
    auto binomial = [](int a, int b) {
        std::int64_t c = 1;
        for (int i = 1; i <= b; i++) c = c * (a - b + i) / i;
        return c;
    };
    for (int k = 0; 2 * k <= n; k++)
        p[static_cast<std::size_t>(n - 2 * k)] = (k % 2 == 0 ? 1 : -1) * binomial(n, k) * binomial(2 * n - 2 * k, n);
    /* m derivatives: the coefficient of t^q becomes q (q-1) .. (q-m+1) times
       it, at power q-m. */
    std::vector<Quad> d;
    for (int q = m; q <= n; q++) {
        std::int64_t c = p[static_cast<std::size_t>(q)];
        for (int i = 0; i < m; i++) c *= q - i;
        d.push_back(static_cast<Quad>(c));
    }
    Quad scale = 1;
    for (int i = 0; i < n; i++) scale /= 2;
    for (Quad& c : d) c *= scale;
    return d;
}

/* The reference at one position: the point-mass jet and the jet of every
   term (n, m) of degree 2..MAX_DEGREE, each already times GM/R. */
struct ReferenceTerms {
    Jet central;
    Jet term[geoharm::MAX_DEGREE + 1][geoharm::MAX_DEGREE + 1];
};

inline ReferenceTerms referenceTerms(double x, double y, double z) {
    using geoharm::MAX_DEGREE;
    const Quad gm = geoharm::GM;
    const Quad radius = geoharm::R_REF;
    const Jet X = coordinateJet(0, x), Y = coordinateJet(1, y), Z = coordinateJet(2, z);
    const Jet r = squareRoot(X * X + Y * Y + Z * Z);
    const Jet ir = reciprocal(r);
    const Jet c = X * ir, s = Y * ir, t = Z * ir;
    const Jet ratio = radius * ir;

    ReferenceTerms ref;
    ref.central = gm * ir;

    /* (c + i s)^m, m = 0..MAX_DEGREE. */
    Jet re[MAX_DEGREE + 1], im[MAX_DEGREE + 1];
    re[0] = constantJet(1);
    im[0] = constantJet(0);
    for (int m = 1; m <= MAX_DEGREE; m++) {
        re[m] = re[m - 1] * c - im[m - 1] * s;
        im[m] = re[m - 1] * s + im[m - 1] * c;
    }

    Jet power = ratio;  // (R/r)^(n+1), from n = 0
    for (int n = 1; n <= MAX_DEGREE; n++) {
        power = power * ratio;
        for (int m = 0; m <= n; m++) {
            if (n < 2) {
                ref.term[n][m] = Jet();
                continue;
            }
            /* P_n^(m)(t) by Horner's rule. */
            const std::vector<Quad> p = legendreDerivative(n, m);
            Jet legendre = constantJet(p.back());
            for (std::size_t i = p.size() - 1; i-- > 0;) legendre = legendre * t + constantJet(p[i]);
            const Quad C = geoharm::coefC(n, m), S = geoharm::coefS(n, m);
            const Jet angular = C * re[m] + S * im[m];
            ref.term[n][m] = (gm / radius) * (power * (legendre * angular));
        }
    }
    return ref;
}

/* The harmonic part for limits N, M (as the field reads them: above 10 is
   10, N <= 1 or M < 0 nothing). */
inline Jet referenceHarmonic(const ReferenceTerms& ref, int N, int M) {
    Jet sum;
    if (N > geoharm::MAX_DEGREE) N = geoharm::MAX_DEGREE;
    if (M > geoharm::MAX_DEGREE) M = geoharm::MAX_DEGREE;
    for (int n = 2; n <= N; n++)
        for (int m = 0; m <= n && m <= M; m++) sum = sum + ref.term[n][m];
    return sum;
}

}  // namespace geoharm_test

#endif
