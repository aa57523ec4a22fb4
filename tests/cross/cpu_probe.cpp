// cpu_probe.cpp - prints which harmonic-sum routine the evaluation takes on
// the processor it runs on: "avx2" or "sse2".
#include <cstdio>

#include "machine/cpu_features.h"

int main() {
    std::fputs(geoharm::cpuHasAvx2() ? "avx2" : "sse2", stdout);
    return 0;
}
