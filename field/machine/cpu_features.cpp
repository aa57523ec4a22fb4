/*
 * cpu_features.cpp - AVX2, FMA and AVX-512F detection with CPUID and
 * XGETBV, and the vendor.
 *
 *   CPUID leaf 0, EBX EDX ECX the vendor ("GenuineIntel")
 *   CPUID leaf 1, ECX bit 12  FMA (fused multiply-add on xmm/ymm, VEX)
 *   CPUID leaf 1, ECX bit 27  OSXSAVE: the OS has enabled XGETBV
 *   CPUID leaf 1, ECX bit 28  AVX
 *   XCR0 bits 1 and 2         the OS saves the XMM and the upper YMM state
 *   XCR0 bits 5, 6 and 7      the OS saves the mask registers (opmask), the
 *                             upper halves of zmm0-15 (ZMM_Hi256) and
 *                             zmm16-31 (Hi16_ZMM)
 *   CPUID leaf 7, EBX bit 5   AVX2
 *   CPUID leaf 7, EBX bit 16  AVX-512F
 *   CPUID leaf 7, EBX bit 31  AVX-512VL (AVX-512 on xmm/ymm registers)
 *
 * A processor that reports AVX2, FMA or AVX-512F but whose operating
 * system does not save the matching register state must not run that
 * code: a context switch would corrupt its registers.  Then the answer is
 * false.
 */
#include "machine/cpu_features.h"

#include <cpuid.h>

namespace geoharm {

namespace {

/* XCR0 when the OS has enabled XSAVE and the processor has AVX, 0
   otherwise (XGETBV itself faults without OSXSAVE). */
unsigned enabledStateWord() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return 0;
    const bool osxsave = (c & (1u << 27)) != 0;
    const bool avx = (c & (1u << 28)) != 0;
    if (!osxsave || !avx) return 0;

    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0u));
    return xcr0;
}

/* CPUID leaf 1, ECX: the basic features; 0 where the leaf is missing. */
unsigned basicFeatures() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return 0;
    return c;
}

/* CPUID leaf 7, sub-leaf 0, EBX: the extended features; 0 where the leaf
   is missing. */
unsigned extendedFeatures() {
    if (__get_cpuid_max(0, nullptr) < 7) return 0;
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(7, 0, a, b, c, d);
    return b;
}

}  // namespace

bool cpuHasAvx2() {
    /* XMM (bit 1) and YMM (bit 2) state enabled, and AVX2. */
    if ((enabledStateWord() & 0x6u) != 0x6u) return false;
    return (extendedFeatures() & (1u << 5)) != 0;
}

bool cpuHasAvx512f() {
    /* XMM, YMM, opmask, ZMM_Hi256 and Hi16_ZMM state (bits 1, 2, 5, 6, 7);
       AVX2 too (the level's files may use 256-bit instructions), and
       AVX-512VL (the level's one-point routine uses ymm16-31; every
       processor with AVX-512F has it but the Xeon Phi, which takes the
       AVX2 routines). */
    if ((enabledStateWord() & 0xE6u) != 0xE6u) return false;
    const unsigned features = extendedFeatures();
    return (features & (1u << 5)) != 0 && (features & (1u << 16)) != 0 && (features & (1u << 31)) != 0;
}

bool cpuHasFma() {
    /* XMM and YMM state enabled (the FMA routines use 256-bit registers),
       and FMA. */
    if ((enabledStateWord() & 0x6u) != 0x6u) return false;
    return (basicFeatures() & (1u << 12)) != 0;
}

bool fmaDivisionPays() {
    /* CPUID leaf 0: the vendor in EBX, EDX, ECX ("Genu" "ineI" "ntel"). */
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d) == 0) return false;
    return b == 0x756E6547u && d == 0x49656E69u && c == 0x6C65746Eu;
}

}  // namespace geoharm
