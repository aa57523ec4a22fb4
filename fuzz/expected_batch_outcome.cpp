/*
 * expected_batch_outcome.cpp - the outcome a geoharm_batch call, and a
 * geoharm_model_tables call, must have (rules in expected_outcome.h).  Elements of P after the described ones
 * are zero.
 */
#include <cstring>

#include "expected_outcome.h"
#include "mex_class_ids.h"

namespace geoharm_fuzz {

namespace {

/* Element i of a double array's real data as the fuzzer made it. */
double elementOf(const FuzzArray& a, std::size_t i) {
    double v = 0.0;
    if ((i + 1) * sizeof v <= a.real.size()) std::memcpy(&v, a.real.data() + i * sizeof v, sizeof v);
    return v;
}

}  // namespace

ExpectedOutcome expectedBatchOutcome(const FuzzCall& call, int nlhs) {
    if (call.nrhs < 3) return refusal("geoharm_batch:nrhs", "Not enough inputs: positions, N and M are needed.");
    if (call.nrhs > 3) return refusal("geoharm_batch:nrhs", "Too many inputs: only positions, N and M are taken.");
    if (nlhs != 0 && nlhs != 1 && nlhs != 3)
        return refusal("geoharm_batch:nlhs", "Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).");
    const FuzzArray& p = call.inputs[0];
    if (p.classId != geoharm::DOUBLE_CLASS || p.complex || p.sparse)
        return refusal("geoharm_batch:positions", "Input 1 (positions) must be a real, non-sparse double array.");
    std::size_t dims = p.dims.size();
    while (dims > 2 && p.dims[dims - 1] == 1) dims--;
    const geoharm::MexSize rows = p.dims[0];
    if (dims == 2 && p.dims[1] != 3 && rows == 3)
        return refusal("geoharm_batch:positions",
                       "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array "
                       "with columns x, y, z.");
    if (dims != 2 || p.dims[1] != 3)
        return refusal("geoharm_batch:positions",
                       "Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.");
    ExpectedOutcome e;
    if (!readLimits(call, "geoharm_batch:degree", "geoharm_batch:order", e)) return e;
    for (geoharm::MexSize k = 0; k < rows; k++) {
        const std::size_t i = static_cast<std::size_t>(k);
        const std::size_t n = static_cast<std::size_t>(rows);
        e.rows.push_back({elementOf(p, i), elementOf(p, n + i), elementOf(p, 2 * n + i), e.input.n, e.input.m});
    }
    e.valid = true;
    return e;
}

ExpectedOutcome expectedModelOutcome(const FuzzCall& call, int nlhs) {
    if (call.nrhs > 0) return refusal("geoharm_model_tables:nrhs", "Too many inputs: none are taken.");
    if (nlhs > 6)
        return refusal("geoharm_model_tables:nlhs",
                       "Ask for at most six outputs: GM, R_REF, maximum degree, C, S, version.");
    ExpectedOutcome e;
    e.valid = true;
    return e;
}

}  // namespace geoharm_fuzz
