/*
 * expected_many_point_outcome.cpp - the outcome a call of a many-point
 * plug-in must have: geoharm_batch and geoharm_gradient (rules in
 * expected_outcome.h); and, since it reads no point at all, of
 * geoharm_model_tables.  Both read P, N and M alike, so one routine reads
 * them for both, under the plug-in's own identifiers and row bound; only
 * the counts of inputs and outputs they take differ.  Elements of P after
 * the described ones are zero.
 */
#include <cstring>
#include <string>

#include "expected_outcome.h"
#include "mex_class_ids.h"

namespace geoharm_fuzz {

namespace {

/* The most points of one call: 3*K (geoharm_batch) or 9*K
   (geoharm_gradient) elements must fit 32-bit sizes. */
constexpr geoharm::MexSize MAX_BATCH_ROWS = 715827882;
constexpr geoharm::MexSize MAX_GRADIENT_ROWS = 238609294;

/* No array the fuzzer makes reaches either bound (arrays of that size are
   refused by the plug-ins' own tests, with arrays that have no data); the
   rule is stated for completeness of the model. */
static_assert(MAX_ELEMENTS / 3 < MAX_GRADIENT_ROWS, "the fuzzer's arrays stay below the row bounds");

/* Element i of a double array's real data as the fuzzer made it. */
double elementOf(const FuzzArray& a, std::size_t i) {
    double v = 0.0;
    if ((i + 1) * sizeof v <= a.real.size()) std::memcpy(&v, a.real.data() + i * sizeof v, sizeof v);
    return v;
}

/*
 * The outcome once the counts of inputs and outputs are accepted: P a
 * real, non-sparse double K-by-3 array of at most maxRows rows (its
 * dimensions with trailing ones after the second dropped), then N and M;
 * the refusals under `name`:positions, :degree, :order.  Row k is
 * (P(k,1), P(k,2), P(k,3)), N, M.
 */
ExpectedOutcome manyPointOutcome(const FuzzCall& call, const std::string& name, geoharm::MexSize maxRows,
                                 const char* rowsMessage) {
    const std::string positionsId = name + ":positions";
    const FuzzArray& p = call.inputs[0];
    if (p.classId != geoharm::DOUBLE_CLASS || p.complex || p.sparse)
        return refusal(positionsId.c_str(), "Input 1 (positions) must be a real, non-sparse double array.");
    std::size_t dims = p.dims.size();
    while (dims > 2 && p.dims[dims - 1] == 1) dims--;
    const geoharm::MexSize rows = p.dims[0];
    if (dims == 2 && p.dims[1] != 3 && rows == 3)
        return refusal(positionsId.c_str(),
                       "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array "
                       "with columns x, y, z.");
    if (dims != 2 || p.dims[1] != 3)
        return refusal(positionsId.c_str(),
                       "Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.");
    if (rows > maxRows) return refusal(positionsId.c_str(), rowsMessage);
    ExpectedOutcome e;
    if (!readLimits(call, (name + ":degree").c_str(), (name + ":order").c_str(), e)) return e;
    for (geoharm::MexSize k = 0; k < rows; k++) {
        const std::size_t i = static_cast<std::size_t>(k);
        const std::size_t n = static_cast<std::size_t>(rows);
        e.rows.push_back({elementOf(p, i), elementOf(p, n + i), elementOf(p, 2 * n + i), e.input.n, e.input.m});
    }
    e.valid = true;
    return e;
}

}  // namespace

ExpectedOutcome expectedBatchOutcome(const FuzzCall& call, int nlhs) {
    if (call.nrhs < 3) return refusal("geoharm_batch:nrhs", "Not enough inputs: positions, N and M are needed.");
    if (call.nrhs > 3) return refusal("geoharm_batch:nrhs", "Too many inputs: only positions, N and M are taken.");
    if (nlhs != 0 && nlhs != 1 && nlhs != 3)
        return refusal("geoharm_batch:nlhs",
                       "Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).");
    return manyPointOutcome(call, "geoharm_batch", MAX_BATCH_ROWS,
                            "Input 1 (positions) has too many rows: one call takes at most 715827882 points, so "
                            "that its 3*K elements fit the host's 32-bit sizes.");
}

ExpectedOutcome expectedGradientOutcome(const FuzzCall& call, int nlhs) {
    if (call.nrhs != 3)
        return refusal("geoharm_gradient:nrhs", "Three inputs are needed, and no more: positions P, N and M.");
    if (nlhs > 3)
        return refusal("geoharm_gradient:nlhs",
                       "At most three outputs: the tensors T (3-by-3-by-K), the accelerations A (K-by-3) and the "
                       "potentials U (K-by-1).");
    return manyPointOutcome(call, "geoharm_gradient", MAX_GRADIENT_ROWS,
                            "Input 1 (positions) has too many rows: one call takes at most 238609294 points, so "
                            "that the 9*K elements of its tensors fit the host's 32-bit sizes.");
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
