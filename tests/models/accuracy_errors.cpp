/*
 * accuracy_errors.cpp - relative errors against the reference, formed in
 * quad so that the reference's own rounding does not enter.
 */
#include "accuracy_errors.h"

#include <cmath>

namespace geoharm_test {

namespace {

Quad absolute(Quad v) { return v < 0 ? -v : v; }

/* |got - want| / |want| over n numbers (|got - want| when want is all
   zero). */
double relative(const double* got, const Quad* want, int n) {
    Quad diff = 0, norm = 0;
    for (int k = 0; k < n; k++) {
        const Quad d = got[k] - want[k];
        diff += d * d;
        norm += want[k] * want[k];
    }
    /* The root in double: an error needs no more digits. */
    return std::sqrt(static_cast<double>(norm == 0 ? diff : diff / norm));
}

double relativeU(double got, Quad want) { return static_cast<double>(absolute((got - want) / want)); }

double relativeT(const double (*got)[3], const Quad (*want)[3]) {
    double g[9];
    Quad w[9];
    for (int k = 0; k < 9; k++) {
        g[k] = got[k / 3][k % 3];
        w[k] = want[k / 3][k % 3];
    }
    return relative(g, w, 9);
}

}  // namespace

PointErrors pointErrors(const QuadEvaluation& reference, const DoubleField& model, const DoubleField& harmonic,
                        bool tensor) {
    PointErrors e;
    e.a = relative(model.a, reference.model.a, 3);
    e.aHarmonic = relative(harmonic.a, reference.harmonic.a, 3);
    e.U = relativeU(model.U, reference.model.U);
    if (tensor) {
        e.T = relativeT(model.T, reference.model.T);
        e.THarmonic = relativeT(harmonic.T, reference.harmonic.T);
    }
    return e;
}

}  // namespace geoharm_test
