/*
 * parked_contents.h - a model file's contents held across the creation of
 * a call's outputs, which the host may end the call inside (no memory):
 * the contents are then freed by the next call on the same thread, or
 * when the plug-in is unloaded, instead of being lost.
 */
#ifndef GEOHARM_GATEWAY_PARKED_CONTENTS_H
#define GEOHARM_GATEWAY_PARKED_CONTENTS_H

#include "models/icgem_reader.h"

namespace geoharm {

/* Frees what an earlier call on this thread parked and never took back. */
void freeLeftContents();

/* Parks the contents (the call keeps using them). */
void parkContents(const ModelFileContents& contents);

/* Takes them back and frees them. */
void releaseParkedContents(ModelFileContents* contents);

}  // namespace geoharm

#endif
