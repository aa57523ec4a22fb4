/*
 * batch_runner.h - one many-point evaluation split into runs of
 * consecutive points, on the calling thread or on several: the part every
 * many-point entry point shares (evaluateAccelerationMany,
 * evaluateGradientMany and those of models).
 */
#ifndef GEOHARM_BATCH_RUNNER_H
#define GEOHARM_BATCH_RUNNER_H

#include <cstddef>

namespace geoharm {

/* Points per thread below which no further thread is started: fewer do
   not repay starting and joining it (docs/performance.md). */
constexpr std::size_t MIN_POINTS_PER_THREAD = 4096;

/*
 * batchThreads - the threads for count points: one per
 * MIN_POINTS_PER_THREAD points from two threads' worth on (1 below),
 * at most processors and at most limit when limit >= 1.
 *
 * Given:
 *   count       number of points
 *   processors  processors the process may use (usableProcessors())
 *   limit       GEOHARM_NUM_THREADS as read (settings.h), 0 for none
 */
int batchThreads(std::size_t count, int processors, int limit);

/* batchThreads for this process: its processors and GEOHARM_NUM_THREADS. */
int batchThreads(std::size_t count);

/*
 * batchThreads - the same for count points that each cost `weight` times
 * a point of the compiled-in model (a model of degree L about
 * ((L+1)/11)^2), split in runs of `granule` points: at most one thread per
 * run.
 */
int batchThreads(std::size_t count, std::size_t weight, std::size_t granule);

/* The work on points [begin, end) of a batch; context is the batch's. */
using BatchWork = void (*)(const void* context, std::size_t begin, std::size_t end);

/*
 * runBatch - work on every point of [0, count), in runs.
 *
 * Given:
 *   count    number of points (0: work is not called)
 *   threads  threads to use, the calling thread included (1: work runs
 *            once, on the calling thread, over all the points)
 *   granule  points per group of the routine (8 for the lane routines):
 *            every run of points a thread takes is a multiple of it but
 *            the last, so that only the last run pads its final group
 *   work, context  what to do
 *
 * Notes:
 *   1. The calling thread must hold the fixed floating-point state
 *      (machine/fixed_fp_state.h); each started thread fixes its own for
 *      its run, as a new thread does not reliably inherit the caller's.
 *   2. The threads take runs of points from a shared count until none is
 *      left, so that a thread on a slower processor takes fewer; each run
 *      a share of the points left (1/(2 threads) of them, at least
 *      1/(32 threads) of the batch), so that the last runs, for which a
 *      thread may wait on another, are short.  Every thread is joined before the return; a thread
 *      that cannot be started leaves its runs to the others.  No state
 *      outlives the call, and nothing is allocated on the heap.
 *   3. The runs never change a result: each point is evaluated on its
 *      own, whoever evaluates it.
 */
void runBatch(std::size_t count, int threads, std::size_t granule, BatchWork work, const void* context);

}  // namespace geoharm

#endif
