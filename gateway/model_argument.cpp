/*
 * model_argument.cpp - the fields of a model struct, read through the host
 * and checked before anything is created.
 */
#include "model_argument.h"

#include <cstring>

#include "gateway_errors.h"
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"
#include "models/message_text.h"

namespace geoharm {

namespace {

const MexInt FIRST = 1;

/* The array in field `name` of the struct at *slot, or 0. */
MexPointer fieldOf(const MexPointer* slot, const char* name) {
    return GEOHARM_MEX_NAME(mxgetfield700_, MXGETFIELD700)(slot, &FIRST, name, std::strlen(name));
}

/* Ends the call: field `name` is missing. */
[[noreturn]] void missing(const FixedFpState& fixedState, const char* modelId, const char* name) {
    char message[256];
    writeMessage(message, sizeof message, MODEL_FIELD_MISSING_FORMAT, name);
    raiseHostError(fixedState, modelId, message);
}

/* Ends the call: field `name` is not `what`. */
[[noreturn]] void wrong(const FixedFpState& fixedState, const char* modelId, const char* name, const char* what) {
    char message[256];
    writeMessage(message, sizeof message, MODEL_FIELD_FORMAT, name, what);
    raiseHostError(fixedState, modelId, message);
}

/* Whether the array is a real, non-sparse double array. */
bool isRealDouble(MexPointer array) {
    return GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&array) == DOUBLE_CLASS &&
           GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(&array) == 0 &&
           GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(&array) == 0;
}

/* A real double scalar field into *value, or the call ended.  (Not
   returned: on 32-bit x86 a double result comes back through the x87.) */
void scalarField(const FixedFpState& fixedState, const MexPointer* slot, const char* modelId, const char* name,
                 double* value) {
    const MexPointer array = fieldOf(slot, name);
    if (array == 0) missing(fixedState, modelId, name);
    if (!isRealDouble(array) || GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&array) != 1)
        wrong(fixedState, modelId, name, "a real double scalar");
    std::memcpy(value, reinterpret_cast<const void*>(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&array)), sizeof *value);
}

/* A table field C or S: (L+1)-by-(L+1) real double; its side, or the call
   ended (side: the other table's, which it must match, or 0). */
MexSize tableField(const FixedFpState& fixedState, const MexPointer* slot, const char* modelId, const char* name,
                   MexSize side, const double** data) {
    const MexPointer array = fieldOf(slot, name);
    if (array == 0) missing(fixedState, modelId, name);
    const MexSize rows = isRealDouble(array) &&
                                 GEOHARM_MEX_NAME(mxgetnumberofdimensions_, MXGETNUMBEROFDIMENSIONS)(&array) == 2
                             ? GEOHARM_MEX_NAME(mxgetm_, MXGETM)(&array)
                             : -1;
    const MexSize cols = rows >= 0 ? GEOHARM_MEX_NAME(mxgetn_, MXGETN)(&array) : -1;
    if (rows < 1 || rows != cols || rows > MAX_MODEL_DEGREE + 1)
        wrong(fixedState, modelId, name,
              "a real, non-sparse double (L+1)-by-(L+1) matrix, C(n+1, m+1) the coefficient of degree n and order "
              "m, L from 0 to 2700");
    if (side != 0 && rows != side) wrong(fixedState, modelId, name, "the same size as C");
    *data = reinterpret_cast<const double*>(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&array));
    return rows;
}

/* The data address of field `name` of the struct at *slot when it is a
   double array, else null. */
const void* doubleDataOf(const MexPointer* slot, const char* name) {
    const MexPointer array = fieldOf(slot, name);
    if (array == 0 || GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&array) != DOUBLE_CLASS) return nullptr;
    return reinterpret_cast<const void*>(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&array));
}

/* Whether the model's cache field holds for its C and S (the key in
   model->key.id). */
bool readCache(const MexPointer* slot, ModelArgument* model) {
    const MexPointer cache = fieldOf(slot, "cache");
    if (cache == 0 || GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&cache) != STRUCT_CLASS ||
        GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&cache) != 1)
        return false;
    const MexPointer key = fieldOf(&cache, "key");
    if (key == 0 || GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&key) != UINT64_CLASS ||
        GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&key) != 2)
        return false;
    std::memcpy(model->key.id, reinterpret_cast<const void*>(GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(&key)),
                sizeof model->key.id);
    return doubleDataOf(&cache, "C") == model->key.C && doubleDataOf(&cache, "S") == model->key.S &&
           model->key.C != nullptr && model->key.S != nullptr;
}

/* The bits of a double, for the key. */
std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

void checkModelArgument(const FixedFpState& fixedState, const MexPointer* slot, const char* modelId,
                        ModelArgument* model) {
    if (GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot) != 1)
        raiseHostError(fixedState, modelId, MODEL_ONE_STRUCT_MESSAGE);

    double gm, radius;
    scalarField(fixedState, slot, modelId, "GM", &gm);
    scalarField(fixedState, slot, modelId, "R_REF", &radius);
    const double* C = nullptr;
    const double* S = nullptr;
    const MexSize side = tableField(fixedState, slot, modelId, "C", 0, &C);
    tableField(fixedState, slot, modelId, "S", side, &S);
    const int L = static_cast<int>(side - 1);
    if (fieldOf(slot, "max_degree") != 0) {
        double degree;
        scalarField(fixedState, slot, modelId, "max_degree", &degree);
        if (!(degree == L)) wrong(fixedState, modelId, "max_degree", "the degree of C and S (size(C, 1) - 1)");
    }

    /* normalization: one of two words (a longer text does not fit). */
    const MexPointer norm = fieldOf(slot, "normalization");
    if (norm == 0) missing(fixedState, modelId, "normalization");
    char text[24];
    const MexInt room = static_cast<MexInt>(sizeof text - 1);
    const bool fits = GEOHARM_MEX_NAME(mxgetstring700_, MXGETSTRING700)(&norm, text, &room, sizeof text - 1) == 0;
    std::size_t length = sizeof text - 1;
    while (length > 0 && text[length - 1] == ' ') length--;
    text[length] = '\0';
    Normalization normalization = Normalization::FullyNormalized;
    if (fits && std::strcmp(text, "unnormalized") == 0)
        normalization = Normalization::Unnormalized;
    else if (!fits || std::strcmp(text, "fully_normalized") != 0)
        wrong(fixedState, modelId, "normalization", "'fully_normalized' or 'unnormalized'");

    /* Column by column: entry (n, m) at n + m (L+1). */
    const CoefficientTable c{C, 1, side, false, true}, s{S, 1, side, false, true};
    model->description = ModelDescription{gm, radius, L, normalization, nullptr, nullptr, c, s};
    model->key = ModelCacheKey{{0, 0}, C, S, bitsOf(gm), bitsOf(radius), L, normalization};
    model->cacheable = readCache(slot, model);
}

void checkModelContents(const FixedFpState& fixedState, const ModelArgument& model, const char* modelId) {
    char reason[256], message[300];
    if (checkModelDescription(model.description, nullptr, reason, sizeof reason)) return;
    writeMessage(message, sizeof message, MODEL_CONTENTS_FORMAT, reason);
    raiseHostError(fixedState, modelId, message);
}

}  // namespace geoharm
