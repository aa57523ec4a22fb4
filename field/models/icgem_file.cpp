/*
 * icgem_file.cpp - readIcgemFile: a model from a file, read in chunks.
 *
 * One buffer of READ_CHUNK_BYTES + MAX_MODEL_LINE_BYTES: each read
 * appends a chunk to the unfinished line the one before left (at most
 * MAX_MODEL_LINE_BYTES, since a longer one is refused at once), so a file
 * of any size takes about 1 MiB beside the model.
 */
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "machine/fixed_fp_state.h"
#include "models/icgem_line_feed.h"
#include "models/icgem_parser.h"
#include "models/icgem_reader.h"
#include "models/message_text.h"
#include "models/model_file.h"

namespace geoharm {
namespace {

constexpr std::size_t READ_CHUNK_BYTES = std::size_t{1} << 20;

/* The lines of the open file to the parser; false on a refusal or a read
   error (the message written). */
bool feedFile(std::FILE* file, IcgemParser& parser) {
    char* buffer = static_cast<char*>(std::malloc(READ_CHUNK_BYTES + MAX_MODEL_LINE_BYTES));
    if (buffer == nullptr) return parser.failInput("cannot allocate the buffer to read it", nullptr);
    std::size_t held = 0;
    bool ok = true;
    while (true) {
        errno = 0;
        std::size_t got = std::fread(buffer + held, 1, READ_CHUNK_BYTES, file);
        if (got < READ_CHUNK_BYTES && std::ferror(file)) {
            char reason[256];
            describeSystemError(errno, reason, sizeof reason);
            ok = parser.failInput("cannot read it", reason);
            break;
        }
        held += got;
        bool atEnd = got < READ_CHUNK_BYTES;
        std::size_t used = 0;
        if (!feedLines(parser, buffer, held, atEnd, &used)) {
            ok = false;
            break;
        }
        if (atEnd) break;
        std::memmove(buffer, buffer + used, held - used);
        held -= used;
    }
    std::free(buffer);
    return ok;
}

}  // namespace

bool readIcgemFile(const char* pathUtf8, const double* epoch, ModelFileContents* out, char* message,
                   std::size_t messageSize) {
    FixedFpState fixedState;
    const char* name = pathUtf8 != nullptr ? pathUtf8 : "(no path)";
    if (!emptyForReading(out, name, message, messageSize)) return false;
    IcgemParser parser(name, epoch, message, messageSize);
    if (pathUtf8 == nullptr) return parser.failInput("cannot open it", "no path given (null)");
    char reason[256];
    std::FILE* file = openModelFile(pathUtf8, reason, sizeof reason);
    if (file == nullptr) return parser.failInput("cannot open it", reason);
    bool ok = feedFile(file, parser);
    std::fclose(file);
    if (!ok || !parser.finish()) return false;
    parser.take(out);
    return true;
}

}  // namespace geoharm
