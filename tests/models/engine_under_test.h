/*
 * engine_under_test.h - where the project's engine for any model (read
 * from an ICGEM file or from the user's tables) enters the accuracy
 * report beside GeographicLib.
 *
 *   makeEngineEvaluator  an evaluator of `model` truncated at degree N
 *                        and order M, or null while there is no engine to
 *                        evaluate with (the report then says so)
 *   ENGINE_NAME          the name the report prints
 */
#ifndef GEOHARM_TESTS_MODELS_ENGINE_UNDER_TEST_H
#define GEOHARM_TESTS_MODELS_ENGINE_UNDER_TEST_H

#include <memory>

#include "field_evaluator.h"
#include "harmonic_model.h"

namespace geoharm_test {

extern const char* const ENGINE_NAME;

std::unique_ptr<FieldEvaluator> makeEngineEvaluator(const HarmonicModel& model, int N, int M);

}  // namespace geoharm_test

#endif
