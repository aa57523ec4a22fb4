/*
 * compiled_in_model.cpp - the comparison with the compiled tables.
 */
#include "models/compiled_in_model.h"

#include "model/coefficient_tables.h"

namespace geoharm {

bool isCompiledInModel(const ModelDescription& d) {
    if (d.gm != GM || d.radius != R_REF || d.maxDegree != MAX_DEGREE ||
        d.normalization != Normalization::Unnormalized)
        return false;
    for (int n = 0; n <= MAX_DEGREE; n++) {
        for (int m = 0; m <= n; m++) {
            const double c = n == 0 ? 1.0 : coefC(n, m);
            const double s = n == 0 ? 0.0 : coefS(n, m);
            if (d.C.at(n, m) != c || d.S.at(n, m) != s) return false;
        }
    }
    return true;
}

}  // namespace geoharm
