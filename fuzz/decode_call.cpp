/*
 * decode_call.cpp - the fuzzer's bytes as one call of the plug-in (layout
 * in fuzz_call.h).  Every byte string decodes to some call; a short input
 * reads as zeros past its end.
 */
#include <cstring>

#include "fuzz_call.h"
#include "host_api.h"
#include "mex_class_ids.h"

namespace geoharm_fuzz {

namespace {

/* Bytes from the front of the input; zeros once it is used up. */
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

geoharm::MexSize readDim(ByteReader& in) {
    const std::uint8_t d = in.next();
    if (d < LARGE_DIM) return d % 8;
    const unsigned lo = in.next();
    const unsigned hi = in.next();
    return static_cast<geoharm::MexSize>(lo | (hi << 8));
}

/* Bytes of one element: a double through the selector, others raw. */
void readElement(ByteReader& in, geoharm::MexInt classId, std::size_t size, std::vector<std::uint8_t>& out) {
    if (classId == geoharm::DOUBLE_CLASS) {
        const std::uint8_t s = in.next();
        if (s < EDGE_COUNT) {
            std::uint8_t b[8];
            std::memcpy(b, &EDGE_DOUBLES[s], 8);
            out.insert(out.end(), b, b + 8);
            return;
        }
    }
    for (std::size_t i = 0; i < size; i++) out.push_back(in.next());
}

bool holdsHandles(geoharm::MexInt classId) {
    return classId == geoharm::CELL_CLASS || classId == geoharm::STRUCT_CLASS || classId == geoharm::FUNCTION_CLASS;
}

}  // namespace

FuzzCall decodeCall(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    FuzzCall call;
    const std::uint8_t nrhs = in.next();
    call.nrhs = nrhs >= NATURAL ? 3 : nrhs % (MAX_INPUTS + 1);
    call.nlhs = in.next() % (MAX_OUTPUTS + 1);
    for (int i = 0; i < call.nrhs; i++) {
        FuzzArray a;
        const std::uint8_t classByte = in.next();
        a.classId = classByte >= NATURAL ? (i == 1 || i == 2 ? geoharm::INT8_CLASS : geoharm::DOUBLE_CLASS)
                                         : classByte % CLASS_COUNT;
        const std::uint8_t flags = in.next();
        a.complex = (flags & COMPLEX_FLAG) == COMPLEX_FLAG;
        a.sparse = (flags & SPARSE_FLAG) == SPARSE_FLAG;
        const int ndims = 1 + ((flags >> 2) & 3);
        a.count = 1;
        for (int d = 0; d < ndims; d++) {
            geoharm::MexSize dim = readDim(in);
            if (a.count * dim > MAX_ELEMENTS) dim = 1;
            a.dims.push_back(dim);
            a.count *= dim;
        }
        while (a.dims.size() < 2) a.dims.push_back(1);
        const std::size_t elSize = geoharm::host::elementSize(a.classId);
        if (elSize > 0 && !holdsHandles(a.classId)) {
            const std::size_t filled = static_cast<std::size_t>(a.count) < FILLED ? a.count : FILLED;
            for (std::size_t e = 0; e < filled; e++) readElement(in, a.classId, elSize, a.real);
            if (a.complex && a.count > 0) {
                for (std::size_t b = 0; b < elSize; b++) a.imag.push_back(in.next());
            }
        }
        call.inputs.push_back(a);
    }
    call.failing = in.next() % 4;
    call.gradientNlhs = in.next() % (MAX_GRADIENT_OUTPUTS + 1);
    return call;
}

}  // namespace geoharm_fuzz
