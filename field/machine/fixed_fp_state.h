/*
 * fixed_fp_state.h - the one floating-point state every evaluation runs in,
 * whatever state the caller's thread has: round to nearest, subnormals
 * kept (no flush to zero, no denormals-are-zero) and every exception
 * masked, so that a division by zero at the origin gives an infinity and
 * not a trap.  All the arithmetic is SSE2 on every build (the 32-bit one
 * included), so MXCSR is the whole of that state.
 *
 * FixedFpState, created on the stack at an entry point, saves the caller's
 * MXCSR and loads FIXED_MXCSR; it loads the saved word again on leaving
 * (destructor), or earlier through restoreCaller() on a way out that
 * skips destructors (an error raised through the host ends with a
 * longjmp).
 *
 * CallerFpState, created on the stack around a host routine that may end
 * the call from inside it (an output array the host cannot create: MATLAB
 * and Octave then unwind to their own frame, and no destructor of the
 * plug-in runs), puts the caller's state in force while it lives and the
 * fixed one back when it ends: the caller has its state on that way out
 * too.
 *
 * Notes:
 *   1. The caller gets back its MXCSR exactly, control bits and the flags
 *      it had raised; the flags the evaluation raises (inexact nearly
 *      always; invalid and division by zero at the origin) are not passed
 *      on.
 *   2. Restoring twice is harmless (the same word is loaded again), so an
 *      entry point may call restoreCaller() on a path on which the
 *      destructor may still run.
 *   3. An entry point nested in another pays a second save and load; the
 *      inner routines that assume the fixed state (the Unguarded ones)
 *      avoid it.
 *   4. Threads start with a state of their own: a worker thread creates
 *      its own FixedFpState.
 */
#ifndef GEOHARM_FIXED_FP_STATE_H
#define GEOHARM_FIXED_FP_STATE_H

#include <xmmintrin.h>

namespace geoharm {

/* Round to nearest (RC = 00), all six exceptions masked (bits 7..12),
   flush-to-zero (bit 15) and denormals-are-zero (bit 6) off, flags clear. */
constexpr unsigned int FIXED_MXCSR = 0x1F80u;

/* The six exception flags (bits 0..5): raised by operations, read by none. */
constexpr unsigned int FLAG_BITS = 0x003Fu;

class FixedFpState {
public:
    FixedFpState() : caller_(_mm_getcsr()) {
        /* Control bits already the fixed ones (the usual case): the flags
           alone differ, and they steer nothing, so the load is saved; the
           restore on leaving clears the call's flags all the same. */
        if ((caller_ & ~FLAG_BITS) != FIXED_MXCSR) _mm_setcsr(FIXED_MXCSR);
    }
    ~FixedFpState() { _mm_setcsr(caller_); }
    FixedFpState(const FixedFpState&) = delete;
    FixedFpState& operator=(const FixedFpState&) = delete;

    /* Hands the caller's state back now (before a longjmp that skips the
       destructor). */
    void restoreCaller() const { _mm_setcsr(caller_); }

private:
    unsigned int caller_;
};

class CallerFpState {
public:
    explicit CallerFpState(const FixedFpState& fixed) { fixed.restoreCaller(); }
    ~CallerFpState() { _mm_setcsr(FIXED_MXCSR); }
    CallerFpState(const CallerFpState&) = delete;
    CallerFpState& operator=(const CallerFpState&) = delete;
};

}  // namespace geoharm

#endif
