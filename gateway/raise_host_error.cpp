/*
 * raise_host_error.cpp - end the call with an error through the host.
 *
 * The host's error routine takes the identifier and the message by address
 * with their lengths as hidden trailing arguments (the host's character
 * binding), and does not return: the host unwinds to its own frame and
 * reports the error to the caller.
 */
#include <cstring>

#include "gateway_routines.h"
#include "mex_host.h"

namespace geoharm {

void raiseHostError(const FixedFpState& fixedState, const char* identifier, const char* message) {
    fixedState.restoreCaller();
    GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)
    (identifier, message, std::strlen(identifier), std::strlen(message));
}

}  // namespace geoharm
