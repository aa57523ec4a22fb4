/*
 * model_cache.cpp - a few prepared models, by key, least recently used
 * dropped first.
 */
#include "model_cache.h"

#include "gateway_errors.h"
#include "gateway_routines.h"
#include "machine/spin_lock.h"
#include "models/message_text.h"

namespace geoharm {

namespace {

struct Entry {
    ModelCacheKey key;
    const ModelData* model;
    unsigned long lastUse;
};

struct Cache {
    SpinLock lock;
    Entry entries[MODEL_CACHE_SIZE] = {};
    unsigned long uses = 0;

    /* The models are released when the plug-in is unloaded. */
    ~Cache() {
        for (Entry& e : entries) releaseModelData(e.model);
    }
};

Cache cache;

}  // namespace

const ModelData* cachedModel(const ModelCacheKey& key) {
    const SpinLocked held(cache.lock);
    for (Entry& e : cache.entries) {
        if (e.model != nullptr && e.key == key) {
            e.lastUse = ++cache.uses;
            retainModelData(e.model);
            return e.model;
        }
    }
    return nullptr;
}

void keepModel(const ModelCacheKey& key, const ModelData* model) {
    const ModelData* dropped = nullptr;
    retainModelData(model);
    {
        const SpinLocked held(cache.lock);
        Entry* slot = &cache.entries[0];
        for (Entry& e : cache.entries) {
            if (e.model != nullptr && e.key == key) {
                slot = &e;
                break;
            }
            if (e.model == nullptr || e.lastUse < slot->lastUse) slot = &e;
            if (slot->model == nullptr) break;
        }
        dropped = slot->model;
        *slot = Entry{key, model, ++cache.uses};
    }
    /* Freed outside the lock: a model of high degree takes a while. */
    releaseModelData(dropped);
}

bool isModelKept(const ModelCacheKey& key) {
    const SpinLocked held(cache.lock);
    for (const Entry& e : cache.entries)
        if (e.model != nullptr && e.key == key) return true;
    return false;
}

const ModelData* modelForCall(const FixedFpState& fixedState, const ModelArgument& model, const char* modelId) {
    if (model.cacheable) {
        const ModelData* kept = cachedModel(model.key);
        if (kept != nullptr) return kept;
    }
    char reason[256], message[300];
    const ModelData* made = makeModelData(model.description, nullptr, reason, sizeof reason);
    if (made == nullptr) {
        writeMessage(message, sizeof message, MODEL_CONTENTS_FORMAT, reason);
        raiseHostError(fixedState, modelId, message);
    }
    if (model.cacheable) keepModel(model.key, made);
    return made;
}

}  // namespace geoharm
