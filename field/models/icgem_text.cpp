/*
 * icgem_text.cpp - readIcgemText: a model from text in memory.
 */
#include "machine/fixed_fp_state.h"
#include "models/icgem_line_feed.h"
#include "models/icgem_parser.h"
#include "models/icgem_reader.h"
#include "models/message_text.h"

namespace geoharm {

bool readIcgemText(const char* text, std::size_t length, const char* nameForMessages, const double* epoch,
                   ModelFileContents* out, char* message, std::size_t messageSize) {
    FixedFpState fixedState;
    const char* name = nameForMessages != nullptr ? nameForMessages : "model";
    if (!emptyForReading(out, name, message, messageSize)) return false;
    if (text == nullptr && length != 0) {
        writeMessage(message, messageSize, "%s: no text (null) of %zu bytes", name, length);
        return false;
    }
    IcgemParser parser(name, epoch, message, messageSize);
    std::size_t used = 0;
    if (length != 0 && !feedLines(parser, text, length, true, &used)) return false;
    if (!parser.finish()) return false;
    parser.take(out);
    return true;
}

}  // namespace geoharm
