/*
 * engine_under_test.cpp - THE PLACE TO PLUG IN THE ENGINE.
 *
 * The project has no engine for arbitrary models yet, so there is nothing
 * to evaluate with and makeEngineEvaluator returns null: the report prints
 * "not plugged in" for it and compares GeographicLib alone.  To plug the
 * engine in, return a FieldEvaluator whose evaluate() calls the engine on
 * `model` (its fully normalised tables, GM and R as given, C(0,0) as given)
 * truncated at N and M, filling U, a and, if hasTensor(), T.
 */
#include "engine_under_test.h"

namespace geoharm_test {

const char* const ENGINE_NAME = "engine";

std::unique_ptr<FieldEvaluator> makeEngineEvaluator(const HarmonicModel&, int, int) { return nullptr; }

}  // namespace geoharm_test
