/*
 * model_argument.h - a gravity model given to geoharm_batch or
 * geoharm_gradient as a struct (geoharm_load's, geoharm_model's, or one
 * the caller builds): how its fields are read and checked, and the key
 * under which a plug-in keeps the model it prepared from it.
 *
 * The fields (others are ignored):
 *   GM, R_REF       real double scalars (m^3/s^2, m)
 *   C, S            real, non-sparse double (L+1)-by-(L+1) matrices of the
 *                   same size, 0 <= L <= MAX_MODEL_DEGREE; C(n+1, m+1) is
 *                   C(n,m)
 *   normalization   'fully_normalized' or 'unnormalized'
 *   max_degree      optional: L, when given
 *   cache           optional, geoharm_load's: a struct of key (uint64
 *                   1-by-2, unique in the process) and C and S, the same
 *                   arrays as the model's own
 *
 * Why the cache field makes a model safe to keep: its C and S share their
 * data with the model's C and S, so the host copies an array before any
 * change to either, and a model whose C and S still have the data
 * addresses of cache.C and cache.S has unchanged tables.  GM, R_REF, L and
 * the normalisation are read on every call and are part of the key.
 */
#ifndef GEOHARM_GATEWAY_MODEL_ARGUMENT_H
#define GEOHARM_GATEWAY_MODEL_ARGUMENT_H

#include <cstdint>

#include "machine/fixed_fp_state.h"
#include "mex_platform.h"
#include "models/model_data.h"

namespace geoharm {

/* What identifies a prepared model: equal keys, equal models. */
struct ModelCacheKey {
    std::uint64_t id[2];
    const void* C;
    const void* S;
    std::uint64_t gmBits;
    std::uint64_t radiusBits;
    int maxDegree;
    Normalization normalization;

    bool operator==(const ModelCacheKey& o) const {
        return id[0] == o.id[0] && id[1] == o.id[1] && C == o.C && S == o.S && gmBits == o.gmBits &&
               radiusBits == o.radiusBits && maxDegree == o.maxDegree && normalization == o.normalization;
    }
};

struct ModelArgument {
    /* C and S point into the host's arrays, column by column. */
    ModelDescription description;
    /* Whether the model carries a cache field that holds (see above). */
    bool cacheable;
    ModelCacheKey key;
};

/*
 * checkModelArgument - the model struct at *slot, its fields read and
 * checked (each in a few host calls: nothing proportional to the model),
 * or the call ended with identifier modelId and a message naming the
 * field.  The tables' contents are checked by checkModelContents.
 */
void checkModelArgument(const FixedFpState& fixedState, const MexPointer* slot, const char* modelId,
                        ModelArgument* model);

/*
 * checkModelContents - the tables' contents (finite, zero above the
 * diagonal and in S(:,1)), or the call ended with modelId and the reason.
 * Reads every coefficient.
 */
void checkModelContents(const FixedFpState& fixedState, const ModelArgument& model, const char* modelId);

}  // namespace geoharm

#endif
