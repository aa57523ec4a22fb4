/*
 * quad_reference.h - an independent reference for any fully normalised
 * spherical-harmonic model in 113-bit binary floating point (__float128):
 * the potential U, the acceleration a = grad U and the gravity-gradient
 * tensor T(i,j) = d a_i / d x_j at a Cartesian point, for the terms of
 * degree n = 0..N and order m = 0..min(n, M).  The model's C(0,0) is used
 * as given (0 leaves the harmonic terms alone); the terms of degree 1 and
 * up are also returned on their own.
 *
 * Method: normalised solid harmonics in Cartesian coordinates.
 *
 * The fully normalised exterior solid harmonics (harmonic_model.h)
 *
 *   H(n,m) = V(n,m) + i W(n,m) = (R/r)^(n+1) Pbar(n,m)(sin phi) e^(i m lambda)
 *
 * are built from x, y, z with no angle: with s = R/r^2,
 *
 *   H(0,0) = R/r
 *   H(m,m) = f(m) s (x + i y) H(m-1,m-1),  f(1) = sqrt(3),
 *                                            f(m) = sqrt((2m+1)/(2m)), m >= 2
 *   H(n,m) = A(n,m) s z H(n-1,m) - B(n,m) s R H(n-2,m),  n > m, H(m-1,m) = 0
 *   A(n,m) = sqrt((2n-1)(2n+1) / ((n-m)(n+m)))
 *   B(n,m) = sqrt((2n+1)(n+m-1)(n-m-1) / ((n-m)(n+m)(2n-3)))
 *
 * which are the unnormalised relations E(m,m) = (2m-1) s (x+iy) E(m-1,m-1)
 * and (n-m) E(n,m) = (2n-1) s z E(n-1,m) - (n+m-1) s R E(n-2,m) (from
 * Legendre's recurrence and P(m,m) = (2m-1)!! cos^m phi, since
 * cos phi e^(i lambda) = (x+iy)/r) times Nbar(n,m) = sqrt(k (2n+1)
 * (n-m)!/(n+m)!), k = 1 for m = 0 and 2 otherwise.  Then
 *
 *   U = (GM/R) sum Re[(C(n,m) - i S(n,m)) H(n,m)].
 *
 * The derivatives.  d/dz and D+- = d/dx +- i d/dy take an exterior solid
 * harmonic of degree n to one of degree n+1 (Hobson).  For E(n,m) =
 * R^(n+1) r^-(n+1) P(n,m)(z/r) e^(i m lambda), without the Condon-Shortley
 * phase:
 *
 *   d/dz E(n,m) = -(n-m+1)/R E(n+1,m)
 *   D+   E(n,m) = -1/R E(n+1,m+1)
 *   D-   E(n,m) = (n-m+1)(n-m+2)/R E(n+1,m-1),   m >= 1
 *   D-   E(n,0) = -1/R conj(E(n+1,1))            (E(n,0) is real, and
 *                                                  D- f = conj(D+ f) for real f)
 *
 * (at degree 0: d/dz (R/r) = -R z/r^3 = -E(1,0)/R, D+ (R/r) = -R (x+iy)/r^3
 * = -E(1,1)/R).  Multiplying by the ratio of the normalisations,
 * Nbar(n,m)/Nbar(n+1,m') with (n+m)!/(n-m)! telescoping, gives the ladder
 * of the normalised harmonics:
 *
 *   d/dz H(n,m) = -Z(n,m)/R H(n+1,m),    Z^2 = (n-m+1)(n+m+1)(2n+1)/(2n+3)
 *   D+   H(n,m) = -P(n,m)/R H(n+1,m+1),  P^2 = d (2n+1)(n+m+1)(n+m+2)/(2n+3)
 *   D-   H(n,m) =  Q(n,m)/R H(n+1,m-1),  Q^2 = e (2n+1)(n-m+1)(n-m+2)/(2n+3)
 *   D-   H(n,0) = -P(n,0)/R conj(H(n+1,1))
 *
 * with d = 1/2 for m = 0 (k goes from 1 to 2), 1 otherwise, and e = 2 for
 * m = 1 (k goes from 2 to 1), 1 otherwise; on conjugates d/dz conj(H) =
 * conj(d/dz H) and D+- conj(H) = conj(D-+ H).  With d/dx = (D+ + D-)/2 and
 * d/dy = (D+ - D-)/(2i), a follows from one step of the ladder and T from
 * two.  T(i,j) takes the operator of x_i first and that of x_j second, so
 * that T's symmetry (P(n,m) Q(n+1,m+1) = Q(n,m) P(n+1,m-1), Z(n,m)
 * P(n+1,m) = P(n,m) Z(n+1,m+1), ...) and its zero trace (Laplace: D+ D- =
 * -d2/dz2, P(n,m) Q(n+1,m+1) = Z(n,m) Z(n+1,m)) check the factors rather
 * than follow from the construction.
 *
 * Nothing here is the column recursion in t = z/r with the powers of
 * (x+iy)/r factored out: each H(n,m) carries its own complex value.
 *
 * Notes:
 *   1. On the polar axis x + iy = 0, so H(m,m) = 0 for m >= 1 exactly, and
 *      the ladder still gives the limits (d/dx of a zonal term is -P/R
 *      Re H(n+1,1) = 0 there): nothing divides by the distance from the
 *      axis.  The origin is not a valid position.
 *   2. Quad underflow.  Near the axis and far out H(m,m), about
 *      (R/r)^(m+1) cos^m phi, drops below the smallest normal quad
 *      (3.4e-4932) and to zero: within 1e-6 rad of a pole from m = 820 or
 *      so.  A column started from such a value carries absolute errors of
 *      at most 2^-16494 (6.5e-4966) times the column's growth |H(n,m) /
 *      H(m,m)|, which is at most G(n,m)/G(m,m) with G(n,m) =
 *      Pbar(n,m)(t)/(1-t^2)^(m/2) at t = 1 (the largest value on [-1, 1] of
 *      the Gegenbauer polynomial it is), below 1e564 for n <= 2702.  The
 *      terms lost are below 1e-4400 in absolute value: nothing at 113 bits
 *      next to any field of interest, so the underflow is left to happen.
 *   3. The recursions are stable; the relative error grows about linearly
 *      with the degree (near 1e-31 at degree 2700).
 *   4. evaluate() allocates the harmonics of degree 0..N+2 (32 bytes each:
 *      77 MB at N = 2190) and keeps nothing: several threads may evaluate
 *      points of one reference at once.
 *
 * References:
 *   Hobson, E. W., The Theory of Spherical and Ellipsoidal Harmonics,
 *   Cambridge, 1931 (the derivatives of solid harmonics).
 *   Cunningham, L. E., On the computation of the spherical harmonic terms
 *   needed during the numerical integration of the orbital motion of an
 *   artificial satellite, Celestial Mechanics 2, 207-216, 1970.
 *   Heiskanen, W. A., Moritz, H., Physical Geodesy, Freeman, 1967
 *   (full normalisation, section 1-14).
 */
#ifndef GEOHARM_TESTS_MODELS_QUAD_REFERENCE_H
#define GEOHARM_TESTS_MODELS_QUAD_REFERENCE_H

#include "../quad_sqrt.h"
#include "field_values.h"
#include "harmonic_model.h"
#include "quad_table.h"

namespace geoharm_test {

struct QuadEvaluation {
    QuadField model;     /* every term of degree 0..N, C(0,0) as given */
    QuadField harmonic;  /* the terms of degree 1..N alone */
};

class QuadReference {
public:
    /* The model's double tables, each number taken exactly. */
    explicit QuadReference(const HarmonicModel& model);
    /* Fully normalised tables in quad, triangularIndex order, of degrees
       0..maxDegree. */
    QuadReference(Quad gm, Quad radius, int maxDegree, QuadTable C, QuadTable S);

    int maxDegree() const { return maxDegree_; }

    /*
     * evaluate - U, a and T at one point.
     *
     * Given:
     *   position  x, y, z (m), not the origin
     *   N, M      largest degree (0..maxDegree()) and order (>= 0; above N
     *             is N)
     * Returned:
     *   the field of the terms n = 0..N, m = 0..min(n, M), and of those of
     *   degree 1 and up on their own
     *
     * Throws std::invalid_argument for N or M out of range.
     */
    QuadEvaluation evaluate(const Quad position[3], int N, int M) const;
    QuadEvaluation evaluate(const double position[3], int N, int M) const;

private:
    Quad gm_, radius_;
    int maxDegree_;
    QuadTable C_, S_;
    /* Recursion factors f(m) (in A(m,m)), A, B for degrees 0..maxDegree+2;
       ladder factors Z, P, Q for degrees 0..maxDegree+1; all at
       triangularIndex(n, m). */
    QuadTable A_, B_, Z_, P_, Q_;

    void makeFactors();
};

}  // namespace geoharm_test

#endif
