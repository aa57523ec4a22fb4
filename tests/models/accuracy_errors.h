/*
 * accuracy_errors.h - the errors of a double-precision evaluation at one
 * point against the 113-bit reference, as the accuracy report states them.
 */
#ifndef GEOHARM_TESTS_MODELS_ACCURACY_ERRORS_H
#define GEOHARM_TESTS_MODELS_ACCURACY_ERRORS_H

#include "field_evaluator.h"
#include "quad_reference.h"

namespace geoharm_test {

/* Relative errors: a and T as |error| / |reference| (Euclidean norm for
   a, Frobenius norm for T), U as |error| / |U|; "harmonic" for the model
   without its degree-0 term, against the reference's harmonic part (not
   for U: the harmonic part of U passes through zero, where a relative
   error means nothing). */
struct PointErrors {
    double a = 0.0, aHarmonic = 0.0, U = 0.0, T = 0.0, THarmonic = 0.0;
};

/*
 * pointErrors - the errors at one point.
 *
 * Given:
 *   reference  the reference at the point (QuadReference::evaluate)
 *   model      the evaluation of the whole model
 *   harmonic   the evaluation of the model with C(0,0) = 0
 *   tensor     whether the evaluations hold T (otherwise T errors are 0)
 */
PointErrors pointErrors(const QuadEvaluation& reference, const DoubleField& model, const DoubleField& harmonic,
                        bool tensor);

}  // namespace geoharm_test

#endif
