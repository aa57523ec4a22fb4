/*
 * model_file_contents.cpp - a model's contents emptied before a reading
 * and released after use.
 */
#include <cstdlib>
#include <cstring>

#include "models/icgem_parser.h"
#include "models/icgem_reader.h"
#include "models/message_text.h"

namespace geoharm {

bool emptyForReading(ModelFileContents* out, const char* name, char* message, std::size_t messageSize) {
    if (out == nullptr) {
        writeMessage(message, messageSize, "%s: no place for the model (out is null)", name);
        return false;
    }
    std::memset(out, 0, sizeof *out);
    return true;
}

void releaseModelFileContents(ModelFileContents* contents) {
    if (contents == nullptr) return;
    std::free(contents->C);
    std::free(contents->S);
    std::memset(contents, 0, sizeof *contents);
}

}  // namespace geoharm
