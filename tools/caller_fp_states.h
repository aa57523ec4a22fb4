/*
 * caller_fp_states.h - floating-point states a caller of the model may run
 * in, by name: the states the tools can call the model from, to show that
 * none of them changes a result or the caller's own state.
 *
 * Each is a whole SSE control and status word (MXCSR), exception flags
 * clear:
 *
 *   default      round to nearest, all exceptions masked        0x1F80
 *   unmasked     every exception but inexact unmasked: invalid,
 *                denormal operand, division by zero, overflow and
 *                underflow trap (a debugging build's setting)    0x1000
 *   upward       round toward +infinity                          0x5F80
 *   downward     round toward -infinity                          0x3F80
 *   towardzero   round toward zero                               0x7F80
 *   ftz-daz      flush-to-zero and denormals-are-zero (a host
 *                built for speed)                                0x9FC0
 */
#ifndef GEOHARM_CALLER_FP_STATES_H
#define GEOHARM_CALLER_FP_STATES_H

#include <xmmintrin.h>

#include <cstdio>
#include <cstring>

namespace geoharm {

struct CallerFpState {
    const char* name;
    unsigned int mxcsr;
};

constexpr CallerFpState CALLER_FP_STATES[] = {
    {"default", 0x1F80u}, {"unmasked", 0x1000u},   {"upward", 0x5F80u},
    {"downward", 0x3F80u}, {"towardzero", 0x7F80u}, {"ftz-daz", 0x9FC0u},
};

/* The state called `name`; false when there is none of that name. */
inline bool callerFpStateNamed(const char* name, unsigned int& mxcsr) {
    for (const CallerFpState& s : CALLER_FP_STATES) {
        if (std::strcmp(name, s.name) == 0) {
            mxcsr = s.mxcsr;
            return true;
        }
    }
    return false;
}

/*
 * callFromState - runs call() with MXCSR set to `mxcsr`, the thread's own
 * word loaded again afterwards, so that only the call runs in the caller's
 * state.  Returns whether the call gave that state back unchanged; if not,
 * says so on standard error ("TOOL: line K: ...").
 */
template <class Call>
bool callFromState(unsigned int mxcsr, const char* tool, long line, Call&& call) {
    const unsigned int own = _mm_getcsr();
    _mm_setcsr(mxcsr);
    call();
    const unsigned int after = _mm_getcsr();
    _mm_setcsr(own);
    if (after == mxcsr) return true;
    std::fflush(stdout);
    std::fprintf(stderr, "%s: line %ld: the plug-in left MXCSR 0x%04X; it was called with 0x%04X\n", tool, line,
                 after, mxcsr);
    return false;
}

}  // namespace geoharm

#endif
