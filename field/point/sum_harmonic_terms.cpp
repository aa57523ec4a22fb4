/*
 * sum_harmonic_terms.cpp - Cartesian gradient of the unnormalised harmonic
 * expansion, term by term.
 *
 * For the term (GM/R) (C(n,m) V(n,m) + S(n,m) W(n,m)) of the potential the
 * derivatives are, with Vp/Wp = V/W(n+1,m+1), Vm/Wm = V/W(n+1,m-1) and
 * F = (n-m+2)!/(n-m)!:
 *
 *   m = 0:   d/dx = -C V(n+1,1) GM/R^2          d/dy = -C W(n+1,1) GM/R^2
 *   m >= 1:  d/dx = [(-C Vp - S Wp) + F (C Vm + S Wm)] GM/(2R^2)
 *            d/dy = [( S Vp - C Wp) + F (S Vm - C Wm)] GM/(2R^2)
 *   all m:   d/dz = (n-m+1) (-C V(n+1,m) - S W(n+1,m)) GM/R^2
 *
 * Each term is scaled by K1 or K2 before it is added, and the terms are
 * added degree (outer) by order (inner), one accumulator per axis: that
 * order fixes the last bits of the result, so it must not be reassociated.
 *
 * References:
 *   Cunningham, L. E., 1970, "On the computation of the spherical harmonic
 *   terms needed during the numerical integration of the orbital motion of
 *   an artificial satellite", Celestial Mechanics 2, 207-216.
 *
 *   Montenbruck, O., Gill, E., 2000, Satellite Orbits, Springer,
 *   Sect. 3.2.5 (these derivatives, the acceleration from V and W).
 */
#include "point/harmonic_sums.h"

#include "model/coefficient_tables.h"

namespace geoharm {

void sumHarmonicTerms(int N, int M, const double V[HARMONIC_SIZE], const double W[HARMONIC_SIZE],
                      double sum[3]) {
    double ax = 0.0;
    double ay = 0.0;
    double az = 0.0;

    /* No term for N <= 0 or M < 0: the loops below are then empty. */
    for (int n = 1; n <= N; n++) {
        /* Orders above the degree have no coefficient: stop at min(n, M). */
        const int mTop = M < n ? M : n;
        for (int m = 0; m <= mTop; m++) {
            const double C = coefC(n, m);
            const double S = coefS(n, m);

            if (m == 0) {
                /* Zonal: only the order-1 neighbour enters x and y. */
                ax = ax - (C * V[harmonicIndex(n + 1, 1)]) * K1;
                ay = ay - (C * W[harmonicIndex(n + 1, 1)]) * K1;
            } else {
                const double F = fac(n, m);
                const double Vp = V[harmonicIndex(n + 1, m + 1)];
                const double Wp = W[harmonicIndex(n + 1, m + 1)];
                const double Vm = V[harmonicIndex(n + 1, m - 1)];
                const double Wm = W[harmonicIndex(n + 1, m - 1)];
                ax = ax + ((-(C * Vp) - S * Wp) + (C * Vm + S * Wm) * F) * K2;
                ay = ay + ((S * Vp - C * Wp) + F * (S * Vm - C * Wm)) * K2;
            }

            /* z, weighted by (n-m+1), exact in double. */
            const double Vz = V[harmonicIndex(n + 1, m)];
            const double Wz = W[harmonicIndex(n + 1, m)];
            az = az + (static_cast<double>(n - m + 1) * (-(C * Vz) - S * Wz)) * K1;
        }
    }

    sum[0] = ax;
    sum[1] = ay;
    sum[2] = az;
}

}  // namespace geoharm
