/*
 * utf8_cut.h - text cut to fit a field of fixed size without splitting a
 * character of its UTF-8.
 *
 * A model keeps its name and tide system in fields of MODEL_NAME_SIZE
 * and TIDE_SYSTEM_SIZE bytes (icgem_reader.h), whether they come from a
 * file or from the caller: a longer text is kept to the last whole
 * character that fits, so that what a model reports is still valid UTF-8
 * when what it was given was.  Text that is not UTF-8 is cut the same
 * way, byte for byte.
 *
 * Reference: RFC 3629, UTF-8, a transformation format of ISO 10646
 * (2003), section 3: continuation bytes are 10xxxxxx.
 */
#ifndef GEOHARM_UTF8_CUT_H
#define GEOHARM_UTF8_CUT_H

#include <cstddef>
#include <cstring>

namespace geoharm {

/* text[0, length) into out, a field of size > 0 bytes, NUL-terminated:
   all of it when it fits, else up to the start of the character that
   does not fit (its continuation bytes left out with it). */
inline void copyTextCut(const char* text, std::size_t length, char* out, std::size_t size) {
    if (length > size - 1) {
        length = size - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0u) == 0x80u) length--;
    }
    if (length > 0) std::memcpy(out, text, length);
    out[length] = '\0';
}

}  // namespace geoharm

#endif
