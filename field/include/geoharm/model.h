/*
 * model.h - the constants of the degree-10 geopotential model, as a program
 * that uses the library sees them (installed as <geoharm/model.h>, included
 * by <geoharm/geoharm.h>).
 *
 *   GM          gravitational parameter (m^3/s^2): the double
 *               398600446148608.0, which is the single-precision value
 *               nearest to 3.986004418e14, held exactly, not that decimal
 *               itself.  Every coefficient of the model is likewise a
 *               single-precision value held exactly as a double.
 *   R_REF       reference radius of the harmonic expansion (m).
 *   MAX_DEGREE  the highest degree and order of the model's terms.
 *   Model       all of the model at once, tables included (geoharm::model()
 *               in <geoharm/geoharm.h> fills one).
 */
#ifndef GEOHARM_MODEL_H
#define GEOHARM_MODEL_H

namespace geoharm {

inline constexpr double GM = 398600446148608.0;
inline constexpr double R_REF = 6378137.0;
inline constexpr int MAX_DEGREE = 10;

/*
 * Model - the numbers the evaluation uses, as it holds them.
 *
 *   gm               GM (m^3/s^2)
 *   referenceRadius  R_REF (m)
 *   maxDegree        MAX_DEGREE
 *   C[n][m], S[n][m] unnormalised cosine and sine coefficients of degree n
 *                    and order m, 0 <= n, m <= MAX_DEGREE: zero for n < 2
 *                    (the central term is GM alone; the origin is the
 *                    centre of mass), for m > n and for S[n][0]
 *   version          the library's version, as geoharm::version()
 *
 * The potential is V = GM/r * (1 + sum over n = 2..10, m = 0..n of
 * (R_REF/r)^n P_nm(sin(latitude)) (C[n][m] cos(m lon) + S[n][m] sin(m lon))),
 * with P_nm the associated Legendre functions without normalisation and
 * without the Condon-Shortley phase; the acceleration is its gradient.
 */
struct Model {
    double gm;
    double referenceRadius;
    int maxDegree;
    double C[MAX_DEGREE + 1][MAX_DEGREE + 1];
    double S[MAX_DEGREE + 1][MAX_DEGREE + 1];
    const char* version;
};

}  // namespace geoharm

#endif
