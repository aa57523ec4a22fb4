// cpu_probe.cpp - prints the level of routines the evaluation takes on the
// processor it runs on: "avx512f_fma", "avx512f", "avx2_fma", "avx2" or
// "sse2".
#include <cstdio>

#include "machine/cpu_features.h"

int main() {
    const char* name = "sse2";
    switch (geoharm::processorSimdLevel()) {
        case geoharm::SimdLevel::AVX512F_FMA: name = "avx512f_fma"; break;
        case geoharm::SimdLevel::AVX512F: name = "avx512f"; break;
        case geoharm::SimdLevel::AVX2_FMA: name = "avx2_fma"; break;
        case geoharm::SimdLevel::AVX2: name = "avx2"; break;
        default: break;
    }
    std::fputs(name, stdout);
    return 0;
}
