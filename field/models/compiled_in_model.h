/*
 * compiled_in_model.h - whether a model given as numbers is the
 * compiled-in one, number for number.
 */
#ifndef GEOHARM_COMPILED_IN_MODEL_H
#define GEOHARM_COMPILED_IN_MODEL_H

#include "models/model_data.h"

namespace geoharm {

/*
 * isCompiledInModel - true when the description holds exactly the
 * compiled-in model as geoharm_model() states it: unnormalised, GM and
 * R_REF, degree 10, C(0,0) = 1, degree 1 zero, and every C(n,m), S(n,m)
 * of degree 2..10 equal to the compiled tables' (a zero of either sign
 * is zero).  Such a model is evaluated by the compiled-in routines, whose
 * bits it then has.
 */
bool isCompiledInModel(const ModelDescription& description);

}  // namespace geoharm

#endif
