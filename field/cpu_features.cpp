/*
 * cpu_features.cpp - AVX2 detection with CPUID and XGETBV.
 *
 *   CPUID leaf 1, ECX bit 27  OSXSAVE: the OS has enabled XGETBV
 *   CPUID leaf 1, ECX bit 28  AVX
 *   XCR0 bits 1 and 2         the OS saves the XMM and the upper YMM state
 *   CPUID leaf 7, EBX bit 5   AVX2
 *
 * A processor that reports AVX2 but whose operating system does not save
 * the YMM state must not run 256-bit code: a context switch would corrupt
 * its registers.  Then the answer is false.
 */
#include "cpu_features.h"

#include <cpuid.h>

namespace geoharm {

bool cpuHasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;

    /* Leaf 1: AVX, and the OS's use of XSAVE. */
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return false;
    const bool osxsave = (c & (1u << 27)) != 0;
    const bool avx = (c & (1u << 28)) != 0;
    if (!osxsave || !avx) return false;

    /* XCR0: XMM (bit 1) and YMM (bit 2) state enabled. */
    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0u));
    if ((xcr0 & 0x6u) != 0x6u) return false;

    /* Leaf 7, sub-leaf 0: AVX2. */
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & (1u << 5)) != 0;
}

}  // namespace geoharm
