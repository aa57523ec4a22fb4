/*
 * field_evaluator.h - a double-precision evaluation of a model under test,
 * as the accuracy report compares it with the 113-bit reference:
 * GeographicLib's sum, and the project's engine once it is plugged in
 * (engine_under_test.h).
 */
#ifndef GEOHARM_TESTS_MODELS_FIELD_EVALUATOR_H
#define GEOHARM_TESTS_MODELS_FIELD_EVALUATOR_H

#include "field_values.h"

namespace geoharm_test {

/* One model, truncated at the N and M it was made for. */
class FieldEvaluator {
public:
    virtual ~FieldEvaluator() = default;
    /* Whether evaluate() fills T. */
    virtual bool hasTensor() const = 0;
    /* The field at position (m); several threads may call it at once. */
    virtual void evaluate(const double position[3], DoubleField& field) const = 0;
};

}  // namespace geoharm_test

#endif
