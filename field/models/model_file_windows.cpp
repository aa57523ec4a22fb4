/*
 * model_file_windows.cpp - model files on Windows: the UTF-8 path turned
 * into UTF-16 and opened with _wfopen, so that any name the file system
 * holds can be given, whatever the process's code page.
 */
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "models/message_text.h"
#include "models/model_file.h"

namespace geoharm {

void describeSystemError(int error, char* reason, std::size_t reasonSize) {
    char buffer[256];
    if (strerror_s(buffer, sizeof buffer, error) != 0) std::strcpy(buffer, "unknown error");
    writeMessage(reason, reasonSize, "%s", buffer);
}

std::FILE* openModelFile(const char* pathUtf8, char* reason, std::size_t reasonSize) {
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pathUtf8, -1, nullptr, 0);
    if (wideLength <= 0) {
        writeMessage(reason, reasonSize, "the path is not valid UTF-8");
        return nullptr;
    }
    wchar_t* widePath = static_cast<wchar_t*>(std::malloc(static_cast<std::size_t>(wideLength) * sizeof(wchar_t)));
    if (widePath == nullptr) {
        describeSystemError(ENOMEM, reason, reasonSize);
        return nullptr;
    }
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pathUtf8, -1, widePath, wideLength);
    errno = 0;
    std::FILE* file = _wfopen(widePath, L"rb");
    int error = errno;
    std::free(widePath);
    if (file == nullptr) describeSystemError(error, reason, reasonSize);
    return file;
}

}  // namespace geoharm
