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
   slower thread (a processor shared with other work) takes fewer runs.
   The runs shrink as the points left do (each a share of them, down to
   `smallest`), so that at the end no thread waits long for another's last
   run, while the count is shared only some ten times a thread. */
struct Runs {
    std::size_t count;
    std::size_t granule;  /* every run but the last a multiple of it */
    std::size_t smallest; /* the shortest run, a multiple of the granule */
    std::size_t share;    /* a run: the points left over `share`, at least */
    BatchWork work;
    const void* context;
    std::atomic<std::size_t> next;

    /* The next run into [*begin, *end), or false when none is left. */
    bool take(std::size_t* begin, std::size_t* end) {
        std::size_t from = next.load(std::memory_order_relaxed);
        for (;;) {
            if (from >= count) return false;
            const std::size_t left = count - from;
            std::size_t size = left / share / granule * granule;
            if (size < smallest) size = smallest;
            const std::size_t to = left <= size ? count : from + size;
            if (next.compare_exchange_weak(from, to, std::memory_order_relaxed)) {
                *begin = from;
                *end = to;
                return true;
            }
        }
    }
};

/* The runs one thread takes, in a fixed state of its own (the calling
   thread's is fixed already, which a second guard keeps). */
void runPart(void* runs, int) {
    Runs& r = *static_cast<Runs*>(runs);
    const FixedFpState fixedState;
    std::size_t begin, end;
    while (r.take(&begin, &end)) r.work(r.context, begin, end);
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
    /* Runs of a share of what is left, 1/(2 threads) of it, down to
       1/(32 threads) of the batch: the last runs (the wait at the end)
       are a small part of the whole, yet there are few runs. */
    if (granule < 1) granule = 1;
    const std::size_t t = static_cast<std::size_t>(threads);
    const std::size_t groups = (count + granule - 1) / granule;
    const std::size_t smallest = groups / (32 * t) < 1 ? 1 : groups / (32 * t);
    Runs runs{count, granule, smallest * granule, 2 * t, work, context, {0}};
    runParts(threads, runPart, &runs);
}

}  // namespace geoharm
