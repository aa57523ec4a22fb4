/*
 * call_frame.cpp - the frame an error ends a plug-in call in (call_frame.h).
 */
#include "call_frame.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace geoharm {
namespace host {

namespace {

thread_local std::jmp_buf* unwindTo = nullptr;
thread_local HostError* errorTo = nullptr;

/* text[0, length) into `to`; what does not fit in memory is left out
   (clear() allocates nothing). */
void recordText(std::string& to, const char* text, std::size_t length) {
    try {
        to.assign(text, length);
    } catch (const std::bad_alloc&) {
        to.clear();
    }
}

}  // namespace

CallFrame swapCallFrame(CallFrame frame) {
    const CallFrame outer{unwindTo, errorTo};
    unwindTo = frame.unwindTo;
    errorTo = frame.error;
    return outer;
}

void endCallWithError(const char* identifier, std::size_t identifierLength, const char* message,
                      std::size_t messageLength, bool raisedByHost) {
    if (unwindTo == nullptr) {
        std::fprintf(stderr, "stand-in host: error raised outside a call: %.*s: %.*s\n",
                     static_cast<int>(identifierLength), identifier, static_cast<int>(messageLength), message);
        std::abort();
    }
    recordText(errorTo->identifier, identifier, identifierLength);
    recordText(errorTo->message, message, messageLength);
    errorTo->raisedByHost = raisedByHost;
    std::longjmp(*unwindTo, 1);
}

}  // namespace host
}  // namespace geoharm
