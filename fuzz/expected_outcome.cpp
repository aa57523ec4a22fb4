/*
 * expected_outcome.cpp - the outcome a call must have (rules in
 * expected_outcome.h).  The value of a limit is taken exactly (every
 * element type fits a long double's 64-bit significand), then truncated
 * and saturated in one place for all classes.
 */
#include "expected_outcome.h"

#include <cmath>
#include <cstring>

#include "mex_class_ids.h"

namespace geoharm_fuzz {

namespace {

template <typename T>
long double first(const FuzzArray& a) {
    T v;
    std::memcpy(&v, a.real.data(), sizeof v);
    return static_cast<long double>(v);
}

/* The first element's exact value (NaN stays NaN). */
long double valueOf(const FuzzArray& a) {
    switch (a.classId) {
        case geoharm::LOGICAL_CLASS: return a.real[0] != 0 ? 1.0L : 0.0L;
        case geoharm::DOUBLE_CLASS: return first<double>(a);
        case geoharm::SINGLE_CLASS: return first<float>(a);
        case geoharm::INT8_CLASS: return first<std::int8_t>(a);
        case geoharm::UINT8_CLASS: return first<std::uint8_t>(a);
        case geoharm::INT16_CLASS: return first<std::int16_t>(a);
        case geoharm::UINT16_CLASS: return first<std::uint16_t>(a);
        case geoharm::INT32_CLASS: return first<std::int32_t>(a);
        case geoharm::UINT32_CLASS: return first<std::uint32_t>(a);
        case geoharm::INT64_CLASS: return first<std::int64_t>(a);
        default: return first<std::uint64_t>(a);
    }
}

bool carriesANumber(geoharm::MexInt c) {
    return c == geoharm::LOGICAL_CLASS || (c >= geoharm::DOUBLE_CLASS && c <= geoharm::UINT64_CLASS);
}

/* false with the refusal in `e`; true with the limit. */
bool readLimit(const FuzzArray& a, const char* id, const char* unusable, const char* several, const char* nan,
               std::int8_t& limit, ExpectedOutcome& e) {
    if (!carriesANumber(a.classId) || a.sparse || a.count < 1) {
        e = refusal(id, unusable);
        return false;
    }
    if (a.count > 1) {
        e = refusal(id, several);
        return false;
    }
    const long double v = std::trunc(valueOf(a));
    if (std::isnan(v)) {
        e = refusal(id, nan);
        return false;
    }
    limit = static_cast<std::int8_t>(v < -128.0L ? -128.0L : v > 127.0L ? 127.0L : v);
    return true;
}

}  // namespace

ExpectedOutcome refusal(const char* identifier, const char* message) {
    ExpectedOutcome e;
    e.identifier = identifier;
    e.message = message;
    return e;
}

bool readLimits(const FuzzCall& call, const char* degreeId, const char* orderId, ExpectedOutcome& e) {
    return readLimit(call.inputs[1], degreeId,
                     "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.",
                     "Input 2 (N, maximum degree) must be one number, not an array of several.",
                     "Input 2 (N, maximum degree) must not be NaN.", e.input.n, e) &&
           readLimit(call.inputs[2], orderId,
                     "Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.",
                     "Input 3 (M, maximum order) must be one number, not an array of several.",
                     "Input 3 (M, maximum order) must not be NaN.", e.input.m, e);
}

ExpectedOutcome expectedOutcome(const FuzzCall& call) {
    ExpectedOutcome e;
    if (call.nrhs < 3) return refusal("geoharm:nrhs", "Not enough inputs: position, N and M are needed.");
    if (call.nrhs > 3) return refusal("geoharm:nrhs", "Too many inputs: only position, N and M are taken.");
    const FuzzArray& pos = call.inputs[0];
    if (pos.classId != geoharm::DOUBLE_CLASS || pos.complex || pos.sparse || pos.count < 3)
        return refusal("geoharm:position",
                       "Input 1 (position) must be a real, non-sparse double array of at least three elements.");
    geoharm::MexSize columns = 1;
    for (std::size_t d = 1; d < pos.dims.size(); d++) columns *= pos.dims[d];
    if (pos.dims[0] > 1 && columns > 1)
        return refusal("geoharm:position",
                       "Input 1 (position) is a matrix: pass one point as a vector x, y, z, or many points to "
                       "geoharm_batch, one per row.");
    if (!readLimits(call, "geoharm:degree", "geoharm:order", e)) return e;
    /* int8: the first byte, whatever the value (the same thing here). */
    double xyz[3];
    std::memcpy(xyz, pos.real.data(), sizeof xyz);
    e.input.x = xyz[0];
    e.input.y = xyz[1];
    e.input.z = xyz[2];
    e.valid = true;
    return e;
}

}  // namespace geoharm_fuzz
