/*
 * fuzz_call.h - one call of the plug-ins as the fuzzer's bytes describe it,
 * and the byte layout shared by the fuzzer and the seed-corpus generator.
 *
 * Layout (bytes read from the front; past the end every byte reads as 0):
 *
 *   nrhs     byte          0x80 and above: 3; else byte % 6, 0..5 inputs
 *   nlhs     byte % 3      outputs asked of geoharm and geoharm_batch, 0..2
 *   then, per input:
 *     class    byte        0x80 and above: the class a good call has there
 *                          (int8 for inputs 2 and 3, double otherwise); else
 *                          byte % 18: host class id 0..16, or 17 (no such
 *                          class)
 *     flags    byte        complex if bits 0 and 4 are set, sparse if bits 1
 *                          and 5 are; bits 2-3: number of dimensions - 1
 *                          (1..4; fewer than 2 are padded with 1)
 *     dims     per dimension one byte d: d < 0xFF gives d % 8; 0xFF a
 *              large dimension from the next two bytes (little-endian,
 *              0..65535).  An array of more than MAX_ELEMENTS elements has
 *              its later dimensions cut to 1.
 *     values   for each of the first min(count, FILLED) elements: a double
 *              is one selector byte s, s < EDGE_COUNT picking a value
 *              of EDGE_DOUBLES, else 8 raw bytes; any other numeric,
 *              logical or char class takes elementSize raw bytes; cell,
 *              struct and function-handle elements stay null.
 *     imag     complex arrays with elements: the raw bytes of the first
 *              imaginary element.
 *   then
 *   failing  byte % 4      0: the host creates every array; k = 1..3: the
 *                          k-th array the call asks the host for cannot be
 *                          created (failArrayCreation), as when memory has
 *                          run out
 *   gradient nlhs  byte % 5   outputs asked of geoharm_gradient, 0..4
 *
 * Elements after the FILLED ones are zero.
 */
#ifndef GEOHARM_FUZZ_CALL_H
#define GEOHARM_FUZZ_CALL_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "mex_platform.h"

namespace geoharm_fuzz {

constexpr int MAX_INPUTS = 5;
constexpr int MAX_OUTPUTS = 2;
constexpr int MAX_GRADIENT_OUTPUTS = 4;
constexpr geoharm::MexInt CLASS_COUNT = 18;
constexpr std::size_t FILLED = 4;
constexpr geoharm::MexSize MAX_ELEMENTS = 1 << 14;
constexpr std::uint8_t LARGE_DIM = 0xFF;
constexpr std::uint8_t NATURAL = 0x80;
constexpr std::uint8_t COMPLEX_FLAG = 0x11;
constexpr std::uint8_t SPARSE_FLAG = 0x22;

/* Doubles that reach the edges of the evaluation and of the limit checks. */
constexpr int EDGE_COUNT = 40;
extern const double EDGE_DOUBLES[EDGE_COUNT];

/* One input array as described by the bytes. */
struct FuzzArray {
    geoharm::MexInt classId = 0;
    bool complex = false;
    bool sparse = false;
    std::vector<geoharm::MexSize> dims;
    geoharm::MexSize count = 0;
    /* Bytes of the first elements (min(count, FILLED) of them), and of the
       first imaginary element (complex arrays with elements). */
    std::vector<std::uint8_t> real;
    std::vector<std::uint8_t> imag;
};

struct FuzzCall {
    int nrhs = 0;
    int nlhs = 0;
    std::vector<FuzzArray> inputs;
    long failing = 0; /* the call's array that cannot be created, or 0 */
    int gradientNlhs = 0;
};

/* decodeCall - the call described by `size` bytes at `data`. */
FuzzCall decodeCall(const std::uint8_t* data, std::size_t size);

}  // namespace geoharm_fuzz

#endif
