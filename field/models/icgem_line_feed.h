/*
 * icgem_line_feed.h - text cut into lines for the ICGEM parser.
 */
#ifndef GEOHARM_MODELS_ICGEM_LINE_FEED_H
#define GEOHARM_MODELS_ICGEM_LINE_FEED_H

#include <cstddef>

#include "models/icgem_parser.h"

namespace geoharm {

/*
 * feedLines - the lines of text[0 .. length-1] to the parser.
 *
 * Given:
 *   text, length  bytes; lines end at '\n'
 *   atEnd         whether the input ends with them: then the last line
 *                 needs no '\n'; otherwise bytes after the last '\n' are
 *                 left for the next call
 * Returned:
 *   used          bytes consumed (all of them when atEnd)
 * Returns false when the parser refused a line.
 *
 * A piece without '\n' longer than MAX_MODEL_LINE_BYTES is given to the parser
 * as it is (which refuses it) even before the end.
 */
bool feedLines(IcgemParser& parser, const char* text, std::size_t length, bool atEnd, std::size_t* used);

}  // namespace geoharm

#endif
