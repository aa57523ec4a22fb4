/*
 * model_file_posix.cpp - model files on Linux and other POSIX systems:
 * the path's bytes are the file name as they are.
 */
#include <cerrno>
#include <cstring>

#include "models/message_text.h"
#include "models/model_file.h"

namespace geoharm {
namespace {

/* strerror_r comes in two kinds, by the C library's choice: the GNU one
   returns the text, the XSI one writes it and returns a status.  These
   overloads take either. */
[[maybe_unused]] const char* errorText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* errorText(int status, const char* buffer) { return status == 0 ? buffer : "unknown error"; }

}  // namespace

void describeSystemError(int error, char* reason, std::size_t reasonSize) {
    char buffer[256];
    buffer[0] = '\0';
    writeMessage(reason, reasonSize, "%s", errorText(strerror_r(error, buffer, sizeof buffer), buffer));
}

std::FILE* openModelFile(const char* pathUtf8, char* reason, std::size_t reasonSize) {
    errno = 0;
    std::FILE* file = std::fopen(pathUtf8, "rb");
    if (file == nullptr) describeSystemError(errno, reason, reasonSize);
    return file;
}

}  // namespace geoharm
