/*
 * call_modes.cpp - what each kind of plug-in takes and gives back
 * (call_modes.h).
 */
#include "call_modes.h"

#include "record_io.h"

namespace geoharm {

namespace {

/* Dimensions without the trailing ones of size 1 after the second. */
std::vector<MexSize> significant(std::vector<MexSize> dims) {
    while (dims.size() < 2) dims.push_back(1);
    while (dims.size() > 2 && dims.back() == 1) dims.pop_back();
    return dims;
}

/* "3-by-1", "3-by-3-by-2". */
std::string sizeText(const std::vector<MexSize>& dims) {
    std::string text;
    for (std::size_t i = 0; i < dims.size(); i++) text += (i > 0 ? "-by-" : "") + std::to_string(dims[i]);
    return text;
}

}  // namespace

CallMode callModeOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.rfind("geoharm_batch.", 0) == 0) return CallMode::Batch;
    if (name.rfind("geoharm_gradient.", 0) == 0) return CallMode::Gradient;
    return CallMode::Single;
}

const char* modeName(CallMode mode) {
    switch (mode) {
        case CallMode::Batch: return "a batch plug-in (geoharm_batch.*)";
        case CallMode::Gradient: return "a gradient plug-in (geoharm_gradient.*)";
        case CallMode::Single: break;
    }
    return "geoharm";
}

std::size_t recordsPerCall(CallMode mode) { return mode == CallMode::Single ? 1 : RECORDS_AT_ONCE; }

host::Array positionsArgument(CallMode mode, const CallRecords& records, const std::vector<MexSize>& singleDims) {
    if (mode == CallMode::Single) return host::makePosition(records.x[0], records.y[0], records.z[0], singleDims);

    /* K-by-3, stored column by column: x, then y, then z. */
    const std::size_t k = records.size();
    host::Array p = host::makeArray(DOUBLE_CLASS, {static_cast<MexSize>(k), 3});
    double* data = static_cast<double*>(p.data());
    for (std::size_t i = 0; i < k; i++) {
        data[i] = records.x[i];
        data[k + i] = records.y[i];
        data[2 * k + i] = records.z[i];
    }
    return p;
}

ExpectedOutputs expectedOutputs(CallMode mode, int nlhs, std::size_t k) {
    const MexSize rows = static_cast<MexSize>(k);
    switch (mode) {
        case CallMode::Batch:
            if (nlhs == 3) return {{{rows, 1}, {rows, 1}, {rows, 1}}, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}};
            return {{{rows, 3}}, {{0, 0, 1}, {0, k, 1}, {0, 2 * k, 1}}};
        case CallMode::Gradient: {
            /* T 3-by-3-by-K (a trailing 1 dropped), A K-by-3, U K-by-1; the
               line U, A's row, T's nine elements of the record. */
            ExpectedOutputs e{{{3, 3, rows}, {rows, 3}, {rows, 1}}, {{2, 0, 1}, {1, 0, 1}, {1, k, 1}, {1, 2 * k, 1}}};
            if (k == 1) e.dims[0] = {3, 3};
            for (std::size_t j = 0; j < 9; j++) e.values.push_back({0, j, 9});
            return e;
        }
        case CallMode::Single:
            break;
    }
    return {{{3, 1}}, {{0, 0, 1}, {0, 1, 1}, {0, 2, 1}}};
}

bool checkOutputs(CallMode mode, const ExpectedOutputs& expected, const MexPointer* plhs, std::size_t slots,
                  std::string& why) {
    for (std::size_t slot = 0; slot < expected.dims.size(); slot++) {
        const std::string which = "output " + std::to_string(slot + 1);
        const std::string want = ", where " + std::string(modeName(mode)) + " gives a real " +
                                 sizeText(expected.dims[slot]) + " double array";
        host::ArrayFacts got;
        if (slot >= slots || !host::arrayFacts(plhs[slot], got)) {
            why = which + " is missing" + want;
            return false;
        }
        const std::vector<MexSize> dims = significant(got.dims);
        MexSize count = 1;
        for (MexSize d : dims) count *= d;
        if (got.classId != DOUBLE_CLASS || got.complex || got.sparse || dims != expected.dims[slot] ||
            (count > 0 && got.real == nullptr)) {
            why = which + " is a " + (got.sparse ? "sparse " : "") + (got.complex ? "complex " : "") +
                  sizeText(dims) + " " + host::className(got.classId) + " array" + want;
            return false;
        }
    }
    return true;
}

}  // namespace geoharm
