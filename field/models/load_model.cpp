/*
 * load_model.cpp - read, then made the engine's value, then the file's
 * contents freed.
 */
#include "models/load_model.h"

#include "models/icgem_reader.h"

namespace geoharm {

const ModelData* loadModelFile(const char* pathUtf8, const double* epoch, char* message, std::size_t messageSize) {
    ModelFileContents contents;
    if (!readIcgemFile(pathUtf8, epoch, &contents, message, messageSize)) return nullptr;
    const CoefficientTable C{contents.C, 0, 0, true, false};
    const CoefficientTable S{contents.S, 0, 0, true, false};
    const ModelDescription d{contents.gm,   contents.radius,     contents.maxDegree, contents.normalization,
                             contents.name, contents.tideSystem, C,                  S};
    const ModelData* model = makeModelData(d, pathUtf8, message, messageSize);
    releaseModelFileContents(&contents);
    return model;
}

}  // namespace geoharm
