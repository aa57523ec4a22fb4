/*
 * load_model.h - a model from an ICGEM file: the reader's contents
 * (icgem_reader.h) made the engine's value (model_data.h).
 */
#ifndef GEOHARM_LOAD_MODEL_H
#define GEOHARM_LOAD_MODEL_H

#include <cstddef>

#include "models/model_data.h"

namespace geoharm {

/*
 * loadModelFile - the model of the file at pathUtf8, its time-variable
 * terms at *epoch (a Julian epoch year, model_epoch.h; null: none), or
 * null with the reason in message ("<file>:<line>: what", or "<file>:
 * what" for the model as a whole).  Nothing of a refused file is kept.
 */
const ModelData* loadModelFile(const char* pathUtf8, const double* epoch, char* message, std::size_t messageSize);

}  // namespace geoharm

#endif
