/*
 * message_text.h - the text of the model reader's refusals.
 */
#ifndef GEOHARM_MODELS_MESSAGE_TEXT_H
#define GEOHARM_MODELS_MESSAGE_TEXT_H

#include <cstddef>
#include <cstdio>

/* printf-style checking of the format strings: on mingw-w64 with its
   own stdio (__USE_MINGW_ANSI_STDIO, the toolchain's flags) the GNU
   conversions, %zu included, are what the library implements. */
#if defined(__MINGW_PRINTF_FORMAT)
#define GEOHARM_FORMAT_CHECK(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#elif defined(__GNUC__)
#define GEOHARM_FORMAT_CHECK(f, a) __attribute__((format(printf, f, a)))
#else
#define GEOHARM_FORMAT_CHECK(f, a)
#endif

namespace geoharm {

/*
 * writeMessage - printf-style text into message[0 .. size-1], cut to fit
 * and always NUL-terminated; nothing is written when message is null or
 * size is 0.  Only %s, %d, %ld, %lld, %zu and %.17g are used: no locale
 * changes their output.
 */
void writeMessage(char* message, std::size_t size, const char* format, ...) GEOHARM_FORMAT_CHECK(3, 4);

/* The size of quoteText's output buffer: up to QUOTED_TEXT_CHARS
   characters, each shown in at most 4 bytes, and "..." when cut. */
constexpr std::size_t QUOTED_TEXT_CHARS = 40;
constexpr std::size_t QUOTED_TEXT_SIZE = 4 * QUOTED_TEXT_CHARS + 4;

/*
 * quoteText - [begin, end) as it can be shown in a message: printable
 * ASCII as it is (a backslash doubled), any other byte as \xNN; the first
 * QUOTED_TEXT_CHARS bytes, then "..." if there are more.
 *
 * Returned:
 *   out   NUL-terminated, out must hold QUOTED_TEXT_SIZE bytes
 */
void quoteText(const char* begin, const char* end, char* out, std::size_t size);

}  // namespace geoharm

#endif
