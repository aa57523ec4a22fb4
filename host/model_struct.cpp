/*
 * model_struct.cpp - the struct of geoharm_load.m, field by field.
 */
#include "model_struct.h"

#include <cstring>
#include <new>

#include <geoharm/version.h>

namespace geoharm {
namespace host {

namespace {

/* An owned array from a handle, or std::bad_alloc for 0. */
Array owned(MexPointer handle) {
    if (handle == 0) throw std::bad_alloc();
    return Array(handle);
}

/* Puts value into field `name` (the struct takes it). */
void put(Array& s, const char* name, Array value) {
    if (!setField(s.handle(), 0, name, value.handle())) throw std::bad_alloc();
    value.release();
}

/* A uint8 row of the bytes of text. */
Array bytesOf(const std::string& text) {
    Array a = makeArray(UINT8_CLASS, {1, static_cast<MexSize>(text.size())});
    if (!text.empty()) std::memcpy(a.data(), text.data(), text.size());
    return a;
}

/* The bytes of a uint8 row. */
std::string textOf(MexPointer handle) {
    ArrayFacts facts;
    arrayFacts(handle, facts);
    const MexSize count = facts.dims[0] * facts.dims[1];
    return count > 0 ? std::string(static_cast<const char*>(facts.real), static_cast<std::size_t>(count)) : "";
}

/* The model's cache field: the key, C and S sharing the struct's. */
void putCache(Array& model, Array key) {
    const MexPointer C = getField(model.handle(), 0, "C");
    const MexPointer S = getField(model.handle(), 0, "S");
    Array cache = owned(createStruct({1, 1}, {"key", "C", "S"}));
    put(cache, "key", std::move(key));
    put(cache, "C", owned(createSharedCopy(C)));
    put(cache, "S", owned(createSharedCopy(S)));
    put(model, "cache", std::move(cache));
}

}  // namespace

bool loadModelStruct(const Plugin& modelFile, const std::string& path, const char* epoch, Array& model,
                     std::string& why) {
    const Array file = bytesOf(path);
    const Array epochBytes = epoch != nullptr ? bytesOf(epoch) : makeArray(DOUBLE_CLASS, {0, 0});
    const MexPointer prhs[2] = {file.handle(), epochBytes.handle()};
    MexPointer plhs[9] = {};
    HostError error;
    std::size_t made = 0;
    if (!callEntryPoint(modelFile.entry, 9, plhs, 2, prhs, error, made)) {
        why = error.identifier + ": " + error.message;
        return false;
    }
    Array outputs[9];
    for (int k = 0; k < 9; k++) outputs[k] = Array(plhs[k]);
    const double normalization = *static_cast<const double*>(outputs[5].data());
    Array s = owned(createStruct({1, 1}, {"GM", "R_REF", "max_degree", "C", "S", "version", "normalization",
                                          "tide_system", "name", "cache"}));
    put(s, "GM", std::move(outputs[0]));
    put(s, "R_REF", std::move(outputs[1]));
    put(s, "max_degree", std::move(outputs[2]));
    put(s, "C", std::move(outputs[3]));
    put(s, "S", std::move(outputs[4]));
    put(s, "version", owned(createString(GEOHARM_VERSION_STRING)));
    put(s, "normalization", owned(createString(normalization == 0.0 ? "fully_normalized" : "unnormalized")));
    put(s, "tide_system", owned(createString(textOf(outputs[7].handle()))));
    put(s, "name", owned(createString(textOf(outputs[6].handle()))));
    putCache(s, std::move(outputs[8]));
    model = std::move(s);
    return true;
}

Array makeModelStruct(double gm, double radius, int L, const double* C, const double* S,
                      const std::string& normalization) {
    const MexSize side = L + 1;
    Array s = owned(createStruct({1, 1}, {"GM", "R_REF", "C", "S", "normalization"}));
    Array tables[2] = {makeArray(DOUBLE_CLASS, {side, side}), makeArray(DOUBLE_CLASS, {side, side})};
    const double* given[2] = {C, S};
    for (int t = 0; t < 2; t++) {
        double* out = static_cast<double*>(tables[t].data());
        for (MexSize n = 0; n < side; n++)
            for (MexSize m = 0; m < side; m++) out[n + side * m] = given[t][n * side + m];
    }
    put(s, "GM", makeScalar(DOUBLE_CLASS, gm));
    put(s, "R_REF", makeScalar(DOUBLE_CLASS, radius));
    put(s, "C", std::move(tables[0]));
    put(s, "S", std::move(tables[1]));
    put(s, "normalization", owned(createString(normalization)));
    return s;
}

bool addCacheField(const Plugin& modelFile, Array& model, std::string& why) {
    const CallResult key = callPlugin(modelFile, 1, {model.handle()});
    if (!key.ok) {
        why = key.error.identifier + ": " + key.error.message;
        return false;
    }
    /* The struct gains a field: made anew, sharing every field of the old. */
    const char* const names[] = {"GM", "R_REF", "C", "S", "normalization"};
    Array s = owned(createStruct({1, 1}, {"GM", "R_REF", "C", "S", "normalization", "cache"}));
    for (const char* name : names) put(s, name, owned(createSharedCopy(getField(model.handle(), 0, name))));
    putCache(s, std::move(const_cast<CallResult&>(key).output));
    model = std::move(s);
    return true;
}

}  // namespace host
}  // namespace geoharm
