/*
 * simd_level.cpp - names of the levels and what each needs of the
 * processor.
 */
#include "machine/simd_level.h"

#include <cstring>

#include "machine/cpu_features.h"

namespace geoharm {

const char* levelName(SimdLevel level) {
    switch (level) {
        case SimdLevel::SSE2: return "sse2";
        case SimdLevel::AVX2: return "avx2";
        case SimdLevel::AVX2_FMA: return "avx2_fma";
        case SimdLevel::AVX512F: return "avx512f";
        case SimdLevel::AVX512F_FMA: return "avx512f_fma";
    }
    return "sse2";
}

bool levelFromName(const char* name, SimdLevel* level) {
    for (const SimdLevel l : SIMD_LEVELS) {
        if (std::strcmp(name, levelName(l)) == 0) {
            *level = l;
            return true;
        }
    }
    return false;
}

bool processorRuns(SimdLevel level) {
    switch (level) {
        case SimdLevel::SSE2: return true;
        case SimdLevel::AVX2: return cpuHasAvx2();
        case SimdLevel::AVX2_FMA: return cpuHasAvx2() && cpuHasFma();
        case SimdLevel::AVX512F: return cpuHasAvx512f();
        case SimdLevel::AVX512F_FMA: return cpuHasAvx512f() && cpuHasFma();
    }
    return false;
}

}  // namespace geoharm
