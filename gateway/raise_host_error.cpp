/*
 * raise_host_error.cpp - end the call with an error through the host.
 *
 * The host's error routine takes the identifier and the message by address
 * with their lengths as hidden trailing arguments (the host's character
 * binding), and does not return: the host unwinds to its own frame and
 * reports the error to the caller.
 */
#include <cstdio>
#include <cstring>

#include "gateway_routines.h"
#include "mex_host.h"

namespace geoharm {

namespace {

/* message with each "Input k" made "Input k+shift", into text. */
void shiftInputNumbers(const char* message, int shift, char* text, std::size_t size) {
    static const char WORD[] = "Input ";
    const std::size_t wordLength = sizeof WORD - 1;
    std::size_t used = 0;
    while (*message != '\0' && used + 12 < size) {
        if (std::strncmp(message, WORD, wordLength) == 0 && message[wordLength] >= '1' && message[wordLength] <= '9') {
            const char* digits = message + wordLength;
            int k = 0;
            while (*digits >= '0' && *digits <= '9') k = 10 * k + (*digits++ - '0');
            used += static_cast<std::size_t>(std::snprintf(text + used, size - used, "%s%d", WORD, k + shift));
            message = digits;
        } else {
            text[used++] = *message++;
        }
    }
    text[used] = '\0';
}

}  // namespace

void raiseHostError(const FixedFpState& fixedState, const char* identifier, const char* message, int inputShift) {
    char shifted[512];
    if (inputShift != 0) {
        shiftInputNumbers(message, inputShift, shifted, sizeof shifted);
        message = shifted;
    }
    fixedState.restoreCaller();
    GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)
    (identifier, message, std::strlen(identifier), std::strlen(message));
}

}  // namespace geoharm
