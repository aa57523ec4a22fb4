// instruction_chains.h - the cost of each kind of floating-point instruction
// the evaluation uses, on the processor the benchmark runs on: included by
// one file per register width (instructions_sse2.cpp, _avx2.cpp, _avx512.cpp),
// each compiled for its width alone and run only where the processor has it.
//
//   BM_latency/<width>/<op>     one dependent chain: each instruction reads
//                                the result of the one before, so the time
//                                per instruction is its latency;
//   BM_throughput/<width>/<op>  twelve independent chains interleaved, as
//                                many in flight as the processor issues:
//                                the time per instruction is its reciprocal
//                                throughput;
//   BM_throughput/<width>/mul+add  six chains of each, interleaved: whether
//                                multiplications and additions issue side
//                                by side (then about half the time of
//                                either alone per instruction).
//
// One item is one instruction: ns per instruction = 1e9 / items_per_second.
// The operands are opaque to the compiler (an empty asm statement "changes"
// them), so that x * 1 is not folded away; contraction is off as
// everywhere; every value stays a normal number near 1.5 (x + 0, x * 1,
// x / 3 and x / RN(1/3) in turn, fma(x, 1, 0), sqrt of the chain's last
// value from 2 down), as in the evaluation: subnormal operands and trivial
// divisors could take other paths.
#ifndef GEOHARM_INSTRUCTION_CHAINS_H
#define GEOHARM_INSTRUCTION_CHAINS_H

#include <benchmark/benchmark.h>

#include <string>

namespace geoharm_bench {

enum class Op { ADD, MUL, DIV, SQRT, FMA, MULADD };

constexpr int CHAINS = 12;
constexpr int STEPS = 48; /* instructions per chain per pass */

/* Makes v opaque to the optimiser (no instruction is emitted). */
template <class V>
inline __attribute__((always_inline)) void opaque(V& v) {
    __asm__ volatile("" : "+x"(v));
}

/* The operands an instruction reads besides the chain's value. */
template <class W>
struct Operands {
    typename W::V one, zero, three, third, two;
};

template <class W>
Operands<W> operands() {
    Operands<W> o{W::set1(1.0), W::set1(0.0), W::set1(3.0), W::set1(1.0 / 3.0), W::set1(2.0)};
    opaque(o.one);
    opaque(o.zero);
    opaque(o.three);
    opaque(o.third);
    opaque(o.two);
    return o;
}

/* Instruction s of a chain, of kind OP, on x; W provides V, set1, sqrt,
   fma (V a GCC vector type: +, *, / are the packed instructions). */
template <class W, Op OP>
inline __attribute__((always_inline)) typename W::V step(typename W::V x, const Operands<W>& o,
                                                          int s) {
    switch (OP) {
        case Op::ADD: return x + o.zero;
        case Op::MUL: return x * o.one;
        case Op::DIV: return x / (s % 2 == 0 ? o.three : o.third);
        case Op::SQRT: return W::sqrt(x);
        case Op::MULADD: return s % 2 == 0 ? x * o.one : x + o.zero;
        default: return W::fma(x, o.one, o.zero);
    }
}

template <class W, Op OP>
void latency(benchmark::State& state) {
    using V = typename W::V;
    const Operands<W> o = operands<W>();
    V x = OP == Op::SQRT ? o.two : W::set1(1.5);
    for (auto _ : state) {
#pragma GCC unroll 48
        for (int s = 0; s < STEPS; s++) x = step<W, OP>(x, o, s);
        opaque(x);
        /* sqrt: 2, sqrt 2, sqrt sqrt 2, ... tends to 1 (and reaches it
           after about 53 steps); start again from 2 after each pass. */
        if (OP == Op::SQRT) x = o.two;
    }
    benchmark::DoNotOptimize(x);
    state.SetItemsProcessed(state.iterations() * STEPS);
}

template <class W, Op OP>
void throughput(benchmark::State& state) {
    using V = typename W::V;
    const Operands<W> o = operands<W>();
    V x[CHAINS];
#pragma GCC unroll 12
    for (int c = 0; c < CHAINS; c++) x[c] = OP == Op::SQRT ? o.two : W::set1(1.5);
    for (auto _ : state) {
#pragma GCC unroll 4
        for (int s = 0; s < STEPS / CHAINS; s++) {
#pragma GCC unroll 12
            for (int c = 0; c < CHAINS; c++) x[c] = step<W, OP>(x[c], o, OP == Op::MULADD ? c : s);
        }
#pragma GCC unroll 12
        for (int c = 0; c < CHAINS; c++) {
            opaque(x[c]);
            /* sqrt: four steps per chain from 2 each pass, as above. */
            if (OP == Op::SQRT) x[c] = o.two;
        }
    }
#pragma GCC unroll 12
    for (int c = 0; c < CHAINS; c++) benchmark::DoNotOptimize(x[c]);
    state.SetItemsProcessed(state.iterations() * STEPS);
}

/* Registers the kernels of width W under the given name; `runs` false
   (the processor lacks the width) registers them as skipped. */
template <class W>
void registerWidth(const char* width, bool runs, bool hasFma) {
    struct Entry {
        const char* op;
        void (*lat)(benchmark::State&);
        void (*thr)(benchmark::State&);
    };
    const Entry entries[] = {
        {"add", latency<W, Op::ADD>, throughput<W, Op::ADD>},
        {"mul", latency<W, Op::MUL>, throughput<W, Op::MUL>},
        {"div", latency<W, Op::DIV>, throughput<W, Op::DIV>},
        {"sqrt", latency<W, Op::SQRT>, throughput<W, Op::SQRT>},
        {"fma", latency<W, Op::FMA>, throughput<W, Op::FMA>},
        {"mul+add", nullptr, throughput<W, Op::MULADD>},
    };
    for (const Entry& e : entries) {
        const bool fma = std::string(e.op) == "fma";
        if (fma && !hasFma) continue;
        const std::string suffix = std::string(width) + "/" + e.op;
        auto skip = [](benchmark::State& state) { state.SkipWithError("this processor lacks the instructions"); };
        if (e.lat != nullptr) benchmark::RegisterBenchmark(("BM_latency/" + suffix).c_str(), runs ? e.lat : skip);
        benchmark::RegisterBenchmark(("BM_throughput/" + suffix).c_str(), runs ? e.thr : skip);
    }
}

}  // namespace geoharm_bench

#endif
