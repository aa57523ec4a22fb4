/*
 * model_api.cpp - geoharm::model(): the model as the evaluation holds it,
 * read from the compiled tables (model/coefficient_tables.h), so that what
 * a program is told is what every result was computed from.
 */
#include "geoharm/geoharm.h"
#include "geoharm/version.h"

#include "model/coefficient_tables.h"

namespace geoharm {

static_assert(COEF_DIM == MAX_DEGREE + 1, "the tables of Model are the compiled tables' size");

Model model() {
    Model md{};
    md.gm = GM;
    md.referenceRadius = R_REF;
    md.maxDegree = MAX_DEGREE;
    for (int n = 0; n <= MAX_DEGREE; n++) {
        for (int m = 0; m <= MAX_DEGREE; m++) {
            md.C[n][m] = coefC(n, m);
            md.S[n][m] = coefS(n, m);
        }
    }
    md.version = GEOHARM_VERSION_STRING;
    return md;
}

}  // namespace geoharm
