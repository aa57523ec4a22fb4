/*
 * settings.h - the environment variables that steer the evaluation, read
 * once, when the library is loaded (or at its first use, should that come
 * first), and never during a call: another thread may change the
 * environment at any time, and reading it while that happens is not safe.
 *
 *   GEOHARM_NUM_THREADS  the most threads one many-point call may use: a
 *                        whole number from 1 (1: the calling thread alone);
 *                        any other text is ignored.
 *   GEOHARM_SIMD_LEVEL   the level of vector routines to use instead of the
 *                        one chosen for the processor: a name of
 *                        simd_level.h ("sse2", "avx2", "avx2_fma",
 *                        "avx512f", "avx512f_fma").  An unknown name, or a
 *                        level the processor does not run, is refused:
 *                        levelProblem says why, and the routine table
 *                        (routine_table.h) then refuses every evaluation.
 */
#ifndef GEOHARM_SETTINGS_H
#define GEOHARM_SETTINGS_H

#include "machine/simd_level.h"

namespace geoharm {

struct Settings {
    int threadLimit;          /* GEOHARM_NUM_THREADS, or 0 when unset or unusable */
    bool levelForced;         /* GEOHARM_SIMD_LEVEL names a level the processor runs */
    SimdLevel forcedLevel;    /* that level */
    const char* levelProblem; /* null, or why GEOHARM_SIMD_LEVEL is refused */
};

/* settings - the environment as read once. */
const Settings& settings();

/*
 * parseThreadLimit - GEOHARM_NUM_THREADS's text as a limit: decimal digits
 * alone, a value from 1 up (capped at a million); 0 for null, empty, 0,
 * signed, spaced or otherwise unusable text.
 */
int parseThreadLimit(const char* text);

}  // namespace geoharm

#endif
