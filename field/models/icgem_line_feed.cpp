/*
 * icgem_line_feed.cpp - text cut into lines for the ICGEM parser.
 */
#include "models/icgem_line_feed.h"

#include <cstring>

namespace geoharm {

bool feedLines(IcgemParser& parser, const char* text, std::size_t length, bool atEnd, std::size_t* used) {
    std::size_t start = 0;
    while (start < length) {
        const void* newline = std::memchr(text + start, '\n', length - start);
        if (newline == nullptr) {
            std::size_t rest = length - start;
            if (!atEnd && rest <= MAX_MODEL_LINE_BYTES) break;
            /* The last line, or one already too long. */
            if (!parser.line(text + start, text + length)) return false;
            start = length;
            break;
        }
        std::size_t stop = static_cast<std::size_t>(static_cast<const char*>(newline) - text);
        if (!parser.line(text + start, text + stop)) return false;
        start = stop + 1;
    }
    *used = start;
    return true;
}

}  // namespace geoharm
