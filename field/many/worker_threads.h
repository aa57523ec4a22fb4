/*
 * worker_threads.h - running parts of one call on threads of their own,
 * without the C++ runtime (std::thread reports a failed start by throwing,
 * which the field, built without exceptions, cannot do): POSIX threads on
 * Linux, Windows threads on Windows.  The one file that differs by
 * operating system is worker_threads.cpp.
 */
#ifndef GEOHARM_WORKER_THREADS_H
#define GEOHARM_WORKER_THREADS_H

#include <cstddef>

namespace geoharm {

/* Most parts one call runs at once (threads, the caller's included). */
constexpr int MAX_WORKER_THREADS = 64;

/*
 * usableProcessors - the number of processors this process may run on
 * (its affinity mask: sched_getaffinity, GetProcessAffinityMask), at least
 * 1 and at most MAX_WORKER_THREADS.
 */
int usableProcessors();

/*
 * runParts - work(context, i) for every part i = 0..parts-1, and returns
 * when all have returned.
 *
 * Given:
 *   parts    number of parts, 1..MAX_WORKER_THREADS
 *   work     the routine of one part; it must not depend on the thread it
 *            runs on (each thread starts with a floating-point state of
 *            its own: work sets the one it needs)
 *   context  passed to work unchanged
 *
 * Notes:
 *   1. Part 0 runs on the calling thread, parts 1.. on threads started
 *      here, all joined before the return.  A part whose thread cannot be
 *      started runs on the calling thread, after part 0: the work is done
 *      either way.
 *   2. Nothing outlives the call: no thread, no handle, no memory.
 */
void runParts(int parts, void (*work)(void* context, int part), void* context);

}  // namespace geoharm

#endif
