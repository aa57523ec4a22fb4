/*
 * call_frame.h - the frame a plug-in call returns to when it ends with an
 * error, shared by the two stand-in host libraries: libmex makes the call
 * and owns the frame (mex_call.cpp), and an error ends the call from either
 * library: the plug-in's own, through libmex's error routine, or the
 * host's, when libmx cannot create an array the plug-in asked for.  Kept in
 * libmx, which libmex links (libmx cannot link libmex).
 *
 * An error does not return into the plug-in: the error is recorded in the
 * frame's record and the thread jumps back (longjmp) to the frame in which
 * the host made the call.  The plug-in's frames are abandoned without
 * unwinding, which is sound because the plug-in holds nothing when it
 * calls the host.  Every thread has its own frame, reached through a
 * thread-local pointer to the caller's frame, never through a thread-local
 * object with a destructor: on 32-bit Windows (MinGW's emulated
 * thread-local storage) such an object is destroyed after its thread's
 * storage has been freed, and its destructor then frees whatever the heap
 * has put there, another thread's live block included.
 */
#ifndef GEOHARM_HOST_CALL_FRAME_H
#define GEOHARM_HOST_CALL_FRAME_H

#include <csetjmp>
#include <cstddef>

#include "host_api.h"

namespace geoharm {
namespace host {

/* Where an error of the current call goes: the jump back and the record. */
struct CallFrame {
    std::jmp_buf* unwindTo = nullptr;
    HostError* error = nullptr;
};

/*
 * swapCallFrame - makes `frame` this thread's frame and returns the one
 * it replaces (given back when the call is over; nested calls nest).
 */
CallFrame swapCallFrame(CallFrame frame);

/*
 * endCallWithError - ends this thread's current call: records identifier
 * and message (lengths given; the texts need not end with a NUL) and
 * whether the host itself raised it, then jumps to the frame.  Outside a
 * call (no frame) it reports the error and aborts: a fault of the caller.
 * A record that cannot hold the texts keeps what fits (nothing).
 */
[[noreturn]] void endCallWithError(const char* identifier, std::size_t identifierLength, const char* message,
                                   std::size_t messageLength, bool raisedByHost);

}  // namespace host
}  // namespace geoharm

#endif
