/*
 * coefficient_tables.h - constant tables of the degree-10 model.
 *
 *   COEF_C, COEF_S  unnormalised cosine and sine coefficients C(n,m),
 *                   S(n,m), n, m = 0..10, column-major (n fastest).
 *   FAC             FAC(n,m) = (n-m+1)(n-m+2), n, m = 1..10, column-major.
 *
 * The lookups below take the model's own indices and are valid for
 * 0 <= m <= n <= 10 (coefficients) and 1 <= m <= n <= 10 (FAC).
 */
#ifndef GEOHARM_COEFFICIENT_TABLES_H
#define GEOHARM_COEFFICIENT_TABLES_H

#include "model/field_constants.h"

namespace geoharm {

constexpr int COEF_DIM = MAX_DEGREE + 1;
constexpr int FAC_DIM = MAX_DEGREE;

extern const double COEF_C[COEF_DIM * COEF_DIM];
extern const double COEF_S[COEF_DIM * COEF_DIM];
extern const double FAC[FAC_DIM * FAC_DIM];

inline double coefC(int n, int m) { return COEF_C[n + COEF_DIM * m]; }
inline double coefS(int n, int m) { return COEF_S[n + COEF_DIM * m]; }
inline double fac(int n, int m) { return FAC[(n - 1) + FAC_DIM * (m - 1)]; }

}  // namespace geoharm

#endif
