/*
 * model_struct.h - model structs for geoharm_batch and geoharm_gradient,
 * made in the stand-in host as geoharm_load.m makes them (through the
 * plug-in geoharm_model_file) or as a caller builds one: for the tools and
 * tests that call those plug-ins with a model.
 */
#ifndef GEOHARM_HOST_MODEL_STRUCT_H
#define GEOHARM_HOST_MODEL_STRUCT_H

#include <string>

#include "plugin_host.h"

namespace geoharm {
namespace host {

/*
 * loadModelStruct - geoharm_load(path) or geoharm_load(path, epoch)
 * (epoch null: none): the struct with fields GM, R_REF, max_degree, C, S,
 * version, normalization, tide_system, name and cache (key, and C and S
 * sharing the model's data).  False with `why` ("identifier: message")
 * when the plug-in refuses the call.
 */
bool loadModelStruct(const Plugin& modelFile, const std::string& path, const char* epoch, Array& model,
                     std::string& why);

/*
 * makeModelStruct - a struct as a caller builds one: GM, R_REF, C and S
 * ((L+1)-by-(L+1), from row-major tables: C[n (L+1) + m] is C(n,m)) and
 * normalization; no cache field.  Throws std::bad_alloc when the host
 * cannot allocate it.
 */
Array makeModelStruct(double gm, double radius, int L, const double* C, const double* S,
                      const std::string& normalization);

/* addCacheField - geoharm_load(model): the struct given a cache field;
   false with `why` when the plug-in refuses the model. */
bool addCacheField(const Plugin& modelFile, Array& model, std::string& why);

}  // namespace host
}  // namespace geoharm

#endif
