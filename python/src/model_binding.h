/*
 * model_binding.h - adds geoharm._core.GravityModel, ModelError,
 * compiled_in_tables and MAX_MODEL_DEGREE to the extension module
 * (model_binding.cpp).
 */
#ifndef GEOHARM_PYTHON_MODEL_BINDING_H
#define GEOHARM_PYTHON_MODEL_BINDING_H

#include <pybind11/pybind11.h>

namespace geoharm_python {

void bindGravityModel(pybind11::module_& module);

}  // namespace geoharm_python

#endif
