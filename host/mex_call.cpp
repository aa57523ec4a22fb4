/*
 * mex_call.cpp - libmex of the stand-in host: calling an entry point, and
 * the error routine that ends such a call.
 *
 * The call is made in a frame of its own (call_frame.h), to which an error
 * raised through the host jumps back: the plug-in's, through the error
 * routine here, or the host's own, when libmx cannot create an array the
 * plug-in asked for.
 */
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "call_frame.h"
#include "host_api.h"
#include "mex_host.h"

namespace geoharm {
namespace host {

namespace {

/*
 * The call itself, in a frame with nothing but trivial locals that do not
 * change after setjmp.  false when the call ended with an error, recorded
 * in `raised`.
 */
bool runEntry(EntryPoint entry, const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs, const MexPointer* prhs,
              HostError* raised) {
    std::jmp_buf here;
    const CallFrame outer = swapCallFrame(CallFrame{&here, raised});
    if (setjmp(here) != 0) {
        swapCallFrame(outer);
        return false;
    }
    entry(nlhs, plhs, nrhs, prhs);
    swapCallFrame(outer);
    return true;
}

}  // namespace

bool callEntryPoint(EntryPoint entry, MexInt nlhs, MexPointer* plhs, MexInt nrhs, const MexPointer* prhs,
                    HostError& error, std::size_t& arraysMade) {
    /* Note every array the plug-in makes during the call. */
    std::vector<MexPointer> made;
    trackArrays(&made);

    /* An error is recorded here, in a frame that outlives the jump.  The
       caller's floating-point state is the plug-in's to give back on every
       way out, an error the host raises inside one of its routines
       included: as MATLAB and Octave, this host does not restore it. */
    HostError raised;
    const bool ok = runEntry(entry, &nlhs, plhs, &nrhs, prhs, &raised);
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
    geoharm::host::noteHostCall("mexerrmsgidandtxt_",
                                {static_cast<long long>(idLength), static_cast<long long>(messageLength)});
    geoharm::host::endCallWithError(id, idLength, message, messageLength, false);
}
