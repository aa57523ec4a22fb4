/*
 * fill_harmonic_arrays.cpp - recursion for the unnormalised solid harmonics
 *
 *   V(n,m) = (R/r)^(n+1) P(n,m)(sin phi) cos(m lambda)
 *   W(n,m) = (R/r)^(n+1) P(n,m)(sin phi) sin(m lambda)
 *
 * (P without the Condon-Shortley phase), built from the scaled coordinates
 * x0, y0, z0 = (x, y, z) R/r^2 and rho = (R/r)^2.  No trigonometric function
 * is evaluated: the order-raising step is a complex multiplication by
 * (x0 + i y0), and along a column the three-term recurrence in degree holds
 *
 *   (n-m) V(n,m) = (2n-1) z0 V(n-1,m) - (n+m-1) rho V(n-2,m),
 *
 * the same for W.  Every integer factor is exact in double; each product,
 * difference and quotient is rounded on its own, in the grouping written.
 *
 * Notes:
 *   1. The recursion is stable upward in degree for every latitude: it
 *      never divides by anything that can vanish.
 *   2. The order loop runs to M+1 whatever N is; diagonal entries above
 *      degree N+1 are then computed and never read.
 *   3. On the polar axis x0 = y0 = 0 and every entry of order >= 1 is a
 *      signed zero.
 *
 * References:
 *   Cunningham, L. E., 1970, "On the computation of the spherical harmonic
 *   terms needed during the numerical integration of the orbital motion of
 *   an artificial satellite", Celestial Mechanics 2, 207-216.
 *
 *   Montenbruck, O., Gill, E., 2000, Satellite Orbits, Springer,
 *   Sect. 3.2.4 (these recursions for V and W).
 */
#include "point/harmonic_arrays.h"

namespace geoharm {

void fillHarmonicArrays(const FieldScalars& sc, int N, int M, double V[HARMONIC_SIZE],
                        double W[HARMONIC_SIZE]) {
    const double z0 = sc.z0;
    const double rho = sc.rho;

    /* Seeds: V(0,0) = R/r, the degree-1 zonal term from it. */
    V[harmonicIndex(0, 0)] = R_REF / sc.r;
    W[harmonicIndex(0, 0)] = 0.0;
    V[harmonicIndex(1, 0)] = z0 * V[harmonicIndex(0, 0)];
    W[harmonicIndex(1, 0)] = 0.0;

    /* Zonal functions, degree 2 .. N+1 (no step for N <= 0). */
    for (int n = 2; n <= N + 1; n++) {
        const double a = static_cast<double>(2 * n - 1) * z0;
        const double b = static_cast<double>(n - 1) * rho;
        V[harmonicIndex(n, 0)] =
            (a * V[harmonicIndex(n - 1, 0)] - b * V[harmonicIndex(n - 2, 0)]) / static_cast<double>(n);
        W[harmonicIndex(n, 0)] = 0.0;
    }

    /* Orders 1 .. M+1, each column finished before the next. */
    for (int m = 1; m <= M + 1; m++) {
        /* Diagonal: (V + iW)(m,m) = (2m-1) (x0 + i y0) (V + iW)(m-1,m-1). */
        const double f = static_cast<double>(2 * m - 1);
        const double vd = V[harmonicIndex(m - 1, m - 1)];
        const double wd = W[harmonicIndex(m - 1, m - 1)];
        V[harmonicIndex(m, m)] = f * (sc.x0 * vd - sc.y0 * wd);
        W[harmonicIndex(m, m)] = f * (sc.x0 * wd + sc.y0 * vd);

        /* Sub-diagonal: the recurrence with V(m-1,m) taken as zero. */
        if (m <= N) {
            const double g = static_cast<double>(2 * m + 1) * z0;
            V[harmonicIndex(m + 1, m)] = g * V[harmonicIndex(m, m)];
            W[harmonicIndex(m + 1, m)] = g * W[harmonicIndex(m, m)];
        }

        /* Rest of the column, degree m+2 .. N+1. */
        for (int n = m + 2; n <= N + 1; n++) {
            const double a = static_cast<double>(2 * n - 1) * z0;
            const double b = static_cast<double>(n + m - 1) * rho;
            const double d = static_cast<double>(n - m);
            V[harmonicIndex(n, m)] =
                (a * V[harmonicIndex(n - 1, m)] - b * V[harmonicIndex(n - 2, m)]) / d;
            W[harmonicIndex(n, m)] =
                (a * W[harmonicIndex(n - 1, m)] - b * W[harmonicIndex(n - 2, m)]) / d;
        }
    }
}

}  // namespace geoharm
