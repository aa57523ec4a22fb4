/*
 * message_text.cpp - the text of the model reader's refusals.
 */
#include "models/message_text.h"

#include <cstdarg>
#include <cstdio>

namespace geoharm {

void writeMessage(char* message, std::size_t size, const char* format, ...) {
    if (message == nullptr || size == 0) return;
    std::va_list args;
    va_start(args, format);
    int written = std::vsnprintf(message, size, format, args);
    va_end(args);
    if (written < 0) message[0] = '\0';
}

void quoteText(const char* begin, const char* end, char* out, std::size_t size) {
    static const char HEX[] = "0123456789ABCDEF";
    std::size_t used = 0;
    std::size_t shown = 0;
    const char* p = begin;
    for (; p < end && shown < QUOTED_TEXT_CHARS && used + 8 < size; p++, shown++) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\\') {
            out[used++] = '\\';
            out[used++] = '\\';
        } else if (c >= 0x20 && c < 0x7F) {
            out[used++] = static_cast<char>(c);
        } else {
            out[used++] = '\\';
            out[used++] = 'x';
            out[used++] = HEX[c >> 4];
            out[used++] = HEX[c & 15u];
        }
    }
    if (p < end && used + 4 <= size) {
        out[used++] = '.';
        out[used++] = '.';
        out[used++] = '.';
    }
    if (size > 0) out[used < size ? used : size - 1] = '\0';
}

}  // namespace geoharm
