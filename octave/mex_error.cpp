/*
 * mexerrmsgidandtxt_ - end the plug-in call with an error.
 *
 * Given:   id, message       the identifier ("geoharm:nrhs") and the text,
 *                            not NUL-terminated
 *          idLength,         their lengths in bytes, passed by value after
 *          messageLength     the other arguments (the character binding)
 * Does not return.
 *
 * Octave's mexErrMsgIdAndTxt wants NUL-terminated C strings and a format,
 * so the two strings are copied into fixed buffers on this frame (longer
 * ones are cut) and the text is passed through a "%s" format, so that a '%'
 * in it prints as itself.  Octave then throws its execution exception: a
 * C++ exception that unwinds through this frame and the plug-in's frames
 * (they have unwind tables and hold nothing to release) back into the
 * interpreter, which reports "<plug-in name>: <text>" with the identifier.
 * Nothing here allocates, so nothing is left behind by the unwinding.
 */
#include <cstdlib>
#include <cstring>

#include "octave_handles.h"

namespace {

constexpr std::size_t ID_CAPACITY = 256;
constexpr std::size_t MESSAGE_CAPACITY = 2048;

/* Copies length bytes of text (at most capacity - 1) and a NUL into buffer. */
void copyTerminated(char* buffer, std::size_t capacity, const char* text, std::size_t length) {
    const std::size_t kept = length < capacity ? length : capacity - 1;
    if (kept > 0) std::memcpy(buffer, text, kept);
    buffer[kept] = '\0';
}

}  // namespace

extern "C" [[noreturn]] void GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)(const char* id,
                                                                                     const char* message,
                                                                                     std::size_t idLength,
                                                                                     std::size_t messageLength) {
    char idText[ID_CAPACITY];
    char messageText[MESSAGE_CAPACITY];
    copyTerminated(idText, ID_CAPACITY, id, idLength);
    copyTerminated(messageText, MESSAGE_CAPACITY, message, messageLength);
    /* Throws; the host's error routine never comes back to the plug-in. */
    mexErrMsgIdAndTxt(idText, "%s", messageText);
    /* Reached only if a future Octave returned from it: there is no way to
       carry on the plug-in's call, so stop here. */
    std::abort();
}
