/*
 * mex_call.cpp - libmex of the stand-in host: calling an entry point, and
 * the error routine that ends such a call.
 *
 * An error through the host does not return into the plug-in: the routine
 * records identifier and message and jumps back (longjmp) to the frame in
 * which the host made the call.  The plug-in's frames are abandoned without
 * unwinding, which is sound because the plug-in holds nothing when it
 * raises an error.  Every thread has its own call frame and error record.
 *
 * Both are reached through thread-local pointers to the caller's frame,
 * never through thread-local objects with a destructor: on 32-bit Windows
 * (MinGW's emulated thread-local storage) such an object is destroyed after
 * its thread's storage has been freed, and its destructor then frees
 * whatever the heap has put there, another thread's live block included.
 */
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "host_api.h"
#include "mex_host.h"

namespace geoharm {
namespace host {

namespace {

thread_local std::jmp_buf* unwindTo = nullptr;
thread_local HostError* errorTo = nullptr;

/*
 * The call itself, in a frame with nothing but trivial locals that do not
 * change after setjmp.  false when the plug-in raised an error.
 */
bool runEntry(EntryPoint entry, const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs, const MexPointer* prhs) {
    std::jmp_buf here;
    std::jmp_buf* const outer = unwindTo;
    unwindTo = &here;
    if (setjmp(here) != 0) {
        unwindTo = outer;
        return false;
    }
    entry(nlhs, plhs, nrhs, prhs);
    unwindTo = outer;
    return true;
}

}  // namespace

bool callEntryPoint(EntryPoint entry, MexInt nlhs, MexPointer* plhs, MexInt nrhs, const MexPointer* prhs,
                    HostError& error, std::size_t& arraysMade) {
    /* Note every array the plug-in makes during the call. */
    std::vector<MexPointer> made;
    trackArrays(&made);

    /* An error is recorded here, in a frame that outlives the jump. */
    HostError raised;
    HostError* const outerError = errorTo;
    errorTo = &raised;
    const bool ok = runEntry(entry, &nlhs, plhs, &nrhs, prhs);
    errorTo = outerError;
    trackArrays(nullptr);
    arraysMade = made.size();

    /* Keep what reached an output slot of a good call; free the rest. */
    const MexInt slots = nlhs > 1 ? nlhs : 1;
    for (MexPointer handle : made) {
        bool kept = false;
        for (MexInt i = 0; ok && i < slots; i++) kept = kept || plhs[i] == handle;
        if (!kept) destroyArray(handle);
    }
    if (!ok) {
        for (MexInt i = 0; i < slots; i++) plhs[i] = 0;
        error = std::move(raised);
    }
    return ok;
}

}  // namespace host
}  // namespace geoharm

extern "C" void GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)(const char* id, const char* message,
                                                                        std::size_t idLength,
                                                                        std::size_t messageLength) {
    using namespace geoharm::host;
    noteHostCall("mexerrmsgidandtxt_", {static_cast<long long>(idLength), static_cast<long long>(messageLength)});
    if (unwindTo == nullptr) {
        std::fprintf(stderr, "stand-in host: error raised outside a call: %.*s: %.*s\n", static_cast<int>(idLength),
                     id, static_cast<int>(messageLength), message);
        std::abort();
    }
    errorTo->identifier.assign(id, idLength);
    errorTo->message.assign(message, messageLength);
    std::longjmp(*unwindTo, 1);
}
