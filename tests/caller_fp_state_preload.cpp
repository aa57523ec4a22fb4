/*
 * caller_fp_state_preload.cpp - a library preloaded into a program
 * (LD_PRELOAD) that puts the process into the floating-point state named by
 * GEOHARM_CALLER_FP_STATE (caller_fp_states.h) before the program's main
 * runs: a program "started in" that state, as a host with its own settings
 * would start one.  Both units are set: the SSE register exactly, the x87
 * control word to the same rounding and traps, since the C library's
 * number reading and printing follow the x87 unit's rounding mode.
 */
#include <fenv.h>
#include <xmmintrin.h>

#include <cstdio>
#include <cstdlib>

#include "caller_fp_states.h"

namespace {

__attribute__((constructor)) void enterCallerFpState() {
    const char* name = std::getenv("GEOHARM_CALLER_FP_STATE");
    if (name == nullptr) return;
    unsigned int mxcsr = 0;
    if (!geoharm::callerFpStateNamed(name, mxcsr)) {
        std::fprintf(stderr, "caller_fp_state_preload: no state '%s'\n", name);
        std::exit(2);
    }
    /* The rounding field (bits 13-14) has the order of the x87 one. */
    static const int ROUNDING[4] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
    fesetround(ROUNDING[(mxcsr >> 13) & 3u]);
    /* Traps: a mask bit clear (bits 7..12) unmasks the exception. */
    int traps = 0;
    if (!(mxcsr & 0x0080u)) traps |= FE_INVALID;
    if (!(mxcsr & 0x0200u)) traps |= FE_DIVBYZERO;
    if (!(mxcsr & 0x0400u)) traps |= FE_OVERFLOW;
    if (!(mxcsr & 0x0800u)) traps |= FE_UNDERFLOW;
    if (traps != 0) feenableexcept(traps);
    _mm_setcsr(mxcsr);
}

}  // namespace
