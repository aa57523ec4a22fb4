/*
 * fused_harmonic_sums.cpp - the harmonic sums through the fastest routine
 * the processor runs: 256-bit (AVX2) where available, SSE2 pairs
 * otherwise.  Both give the same bits; the choice is made on the first
 * call.
 */
#include "fused_harmonic_sums.h"

#include <atomic>

#include "cpu_features.h"
#include "fused_harmonic_sums_avx.h"
#include "fused_harmonic_sums_sse2.h"

namespace geoharm {

namespace {

enum class Routine : int { UNKNOWN, SSE2, AVX2 };

/* The processor is asked on the first call and the answer kept.  Threads
   that make their first calls at the same time may each ask: they get the
   same answer, and an atomic word holds it (lock-free, so no call into the
   C++ runtime, whose guarded statics would pull its exception machinery
   into the plug-in). */
std::atomic<Routine> chosen{Routine::UNKNOWN};

Routine routine() {
    Routine r = chosen.load(std::memory_order_relaxed);
    if (r == Routine::UNKNOWN) {
        r = cpuHasAvx2() ? Routine::AVX2 : Routine::SSE2;
        chosen.store(r, std::memory_order_relaxed);
    }
    return r;
}

}  // namespace

void fusedHarmonicSums(const FieldScalars& sc, int N, int M, double sum[3]) {
    /* No term at all: the sums stay +0.0 and no function is read. */
    if (N <= 0 || M < 0) {
        sum[0] = 0.0;
        sum[1] = 0.0;
        sum[2] = 0.0;
        return;
    }

    if (routine() == Routine::AVX2)
        fusedHarmonicSumsAvx(sc, N, M, sum);
    else
        fusedHarmonicSumsSse2(sc, N, M, sum);
}

}  // namespace geoharm
