/*
 * model_key.h - the key of a model struct's cache field (model_argument.h):
 * unique within the process, so that a plug-in never takes a model it
 * kept for another one whose tables happen to lie at the same addresses.
 */
#ifndef GEOHARM_GATEWAY_MODEL_KEY_H
#define GEOHARM_GATEWAY_MODEL_KEY_H

#include <cstdint>

namespace geoharm {

/*
 * newModelKey - key[0] the time (ns since 1970) of the plug-in's first key
 * since it was loaded, key[1] a count of the keys given since then: a
 * plug-in cleared and loaded again starts from a later time.
 */
void newModelKey(std::uint64_t key[2]);

}  // namespace geoharm

#endif
