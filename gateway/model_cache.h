/*
 * model_cache.h - the models a plug-in has prepared from model structs
 * that carry a cache field (model_argument.h), kept for the next calls:
 * repeated calls with one model then cost the evaluation alone, not the
 * preparation (reading, normalising and laying out every coefficient).
 *
 * At most MODEL_CACHE_SIZE models are kept, the least recently used
 * dropped first; they are freed when the plug-in is unloaded.  Calls on
 * several threads at once are safe.
 */
#ifndef GEOHARM_GATEWAY_MODEL_CACHE_H
#define GEOHARM_GATEWAY_MODEL_CACHE_H

#include "machine/fixed_fp_state.h"
#include "model_argument.h"
#include "models/model_data.h"

namespace geoharm {

constexpr int MODEL_CACHE_SIZE = 4;

/* The model kept for key, with a new holder (release it), or null. */
const ModelData* cachedModel(const ModelCacheKey& key);

/* Keeps a holder of model under key (replacing what the key held). */
void keepModel(const ModelCacheKey& key, const ModelData* model);

/* Whether a model is kept for key now (it may be dropped at any time). */
bool isModelKept(const ModelCacheKey& key);

/*
 * modelForCall - the prepared model of a model argument whose contents
 * were checked (or are kept): the kept one, or one made now (and kept when
 * the argument is cacheable).  A new holder: release it after the
 * evaluation.  Memory that cannot be had ends the call with modelId.
 * Call it after the outputs exist: the host may end the call while it
 * creates them, and a holder taken before would then never be released.
 */
const ModelData* modelForCall(const FixedFpState& fixedState, const ModelArgument& model, const char* modelId);

}  // namespace geoharm

#endif
