/*
 * model_file.h - opening a model file by its UTF-8 path, and the system's
 * words for an error: the part of the reader that differs between
 * platforms (model_file_posix.cpp, model_file_windows.cpp; CMake builds
 * one of them).
 */
#ifndef GEOHARM_MODELS_MODEL_FILE_H
#define GEOHARM_MODELS_MODEL_FILE_H

#include <cstddef>
#include <cstdio>

namespace geoharm {

/*
 * openModelFile - the file at pathUtf8, open for reading bytes.
 *
 * Returned:
 *   reason   on failure, why (the system's words, or that the path is not
 *            valid UTF-8), NUL-terminated in reasonSize bytes
 * Returns the stream (close it with std::fclose), or null.
 */
std::FILE* openModelFile(const char* pathUtf8, char* reason, std::size_t reasonSize);

/* describeSystemError - the system's words for an errno value. */
void describeSystemError(int error, char* reason, std::size_t reasonSize);

}  // namespace geoharm

#endif
