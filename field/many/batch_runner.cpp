/*
 * batch_runner.cpp - the thread-count rule and the runs of a batch.
 */
#include "many/batch_runner.h"

#include <atomic>
#include <cstdint>

#include "machine/fixed_fp_state.h"
#include "machine/settings.h"
#include "many/worker_threads.h"

namespace geoharm {

namespace {

/* The batch's points, a run at a time to whichever thread asks next: a
   slower thread (a processor shared with other work) takes fewer runs,
   and none waits long for another at the end. */
struct Runs {
    std::size_t count;
    std::size_t run; /* points per run, a multiple of the granule */
    BatchWork work;
    const void* context;
    std::atomic<std::size_t> next;
};

/* The runs one thread takes, in a fixed state of its own (the calling
   thread's is fixed already, which a second guard keeps). */
void runPart(void* runs, int) {
    Runs& r = *static_cast<Runs*>(runs);
    const FixedFpState fixedState;
    for (;;) {
        const std::size_t begin = r.next.fetch_add(r.run, std::memory_order_relaxed);
        if (begin >= r.count) return;
        const std::size_t end = r.count - begin < r.run ? r.count : begin + r.run;
        r.work(r.context, begin, end);
    }
}

}  // namespace

int batchThreads(std::size_t count, int processors, int limit) {
    if (count < 2 * MIN_POINTS_PER_THREAD) return 1;
    const std::size_t wanted = count / MIN_POINTS_PER_THREAD;
    int threads = processors < 1 ? 1 : processors;
    if (wanted < static_cast<std::size_t>(threads)) threads = static_cast<int>(wanted);
    if (limit >= 1 && limit < threads) threads = limit;
    return threads;
}

int batchThreads(std::size_t count) {
    if (count < 2 * MIN_POINTS_PER_THREAD) return 1;
    return batchThreads(count, usableProcessors(), settings().threadLimit);
}

int batchThreads(std::size_t count, std::size_t weight, std::size_t granule) {
    const std::size_t most = SIZE_MAX / (weight < 1 ? 1 : weight);
    const std::size_t work = count < most ? count * weight : SIZE_MAX;
    int threads = work < 2 * MIN_POINTS_PER_THREAD ? 1 : batchThreads(work, usableProcessors(), settings().threadLimit);
    const std::size_t runs = (count + granule - 1) / granule;
    if (runs < static_cast<std::size_t>(threads)) threads = runs < 1 ? 1 : static_cast<int>(runs);
    return threads;
}

void runBatch(std::size_t count, int threads, std::size_t granule, BatchWork work, const void* context) {
    if (count == 0) return;
    if (threads > MAX_WORKER_THREADS) threads = MAX_WORKER_THREADS;
    if (threads <= 1) {
        work(context, 0, count);
        return;
    }
    /* About eight runs a thread, each whole groups of the routine's lanes. */
    if (granule < 1) granule = 1;
    const std::size_t groups = (count + granule - 1) / granule;
    const std::size_t perRun = groups / (8 * static_cast<std::size_t>(threads));
    Runs runs{count, (perRun < 1 ? 1 : perRun) * granule, work, context, {0}};
    runParts(threads, runPart, &runs);
}

}  // namespace geoharm
