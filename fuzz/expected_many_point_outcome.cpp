/*
 * expected_many_point_outcome.cpp - the outcome a call of a many-point
 * plug-in must have: geoharm_batch and geoharm_gradient (rules in
 * expected_outcome.h); and, since it reads no point at all, of
 * geoharm_model_tables.  Both read P, N and M alike, so one routine reads
 * them for both, under the plug-in's own identifiers and row bound; only
 * the counts of inputs and outputs they take differ.  Elements of P after
 * the described ones are zero.  A struct as input 1 is a model: the
 * inputs after it are read as P, N and M, counted from 2 in the messages;
 * the fuzzer's structs have no fields, so a call that gets that far is
 * refused for its model.
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
 * dimensions with trailing ones after the second dropped) or a 3-by-1
 * column (one point), then N and M;
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
    /* A 3-by-1 column is one point, its elements x, y, z. */
    const bool column = dims == 2 && p.dims[0] == 3 && p.dims[1] == 1;
    const geoharm::MexSize rows = column ? 1 : p.dims[0];
    if (!column && dims == 2 && p.dims[1] != 3 && rows == 3)
        return refusal(positionsId.c_str(),
                       "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array "
                       "with columns x, y, z.");
    if (!column && (dims != 2 || p.dims[1] != 3))
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

/* message with every "Input k (" made "Input k+1 (". */
std::string shifted(std::string message) {
    for (std::size_t at = 0; (at = message.find("Input ", at)) != std::string::npos; at += 6) {
        const std::size_t digit = at + 6;
        if (digit + 1 < message.size() && message[digit] >= '1' && message[digit] <= '8' && message[digit + 1] == ' ')
            message[digit] = static_cast<char>(message[digit] + 1);
    }
    return message;
}

/* The outcome of a call whose first input is a model struct, the counts
   of inputs and outputs accepted: P, N and M after it, then the model. */
ExpectedOutcome withModelOutcome(const FuzzCall& call, const std::string& name, geoharm::MexSize maxRows,
                                 const char* rowsMessage) {
    FuzzCall after = call;
    after.inputs.erase(after.inputs.begin());
    after.nrhs = call.nrhs - 1;
    ExpectedOutcome e = manyPointOutcome(after, name, maxRows, rowsMessage);
    if (!e.valid) {
        e.message = shifted(e.message);
        return e;
    }
    if (call.inputs[0].count != 1)
        return refusal((name + ":model").c_str(),
                       "Input 1 (model) must be one struct (1-by-1), as geoharm_load and geoharm_model return.");
    return refusal((name + ":model").c_str(),
                   "Input 1 (model) has no field GM: a model has fields GM, R_REF, C, S and normalization (see "
                   "geoharm_load).");
}

bool modelFirst(const FuzzCall& call) { return call.nrhs >= 1 && call.inputs[0].classId == geoharm::STRUCT_CLASS; }

}  // namespace

ExpectedOutcome expectedBatchOutcome(const FuzzCall& call, int nlhs) {
    const char* const rowsMessage =
        "Input 1 (positions) has too many rows: one call takes at most 715827882 points, so that its 3*K elements "
        "fit the host's 32-bit sizes.";
    if (modelFirst(call)) {
        if (call.nrhs < 4)
            return refusal("geoharm_batch:nrhs", "Not enough inputs: after the model, positions, N and M are needed.");
        if (call.nrhs > 4)
            return refusal("geoharm_batch:nrhs", "Too many inputs: only the model, positions, N and M are taken.");
        if (nlhs != 0 && nlhs != 1 && nlhs != 3)
            return refusal("geoharm_batch:nlhs",
                           "Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).");
        return withModelOutcome(call, "geoharm_batch", MAX_BATCH_ROWS, rowsMessage);
    }
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
    const bool withModel = modelFirst(call);
    if (call.nrhs != (withModel ? 4 : 3))
        return refusal("geoharm_gradient:nrhs",
                       withModel ? "Four inputs are needed with a model, and no more: the model, positions P, N and M."
                                 : "Three inputs are needed, and no more: positions P, N and M.");
    if (nlhs > 3)
        return refusal("geoharm_gradient:nlhs",
                       "At most three outputs: the tensors T (3-by-3-by-K), the accelerations A (K-by-3) and the "
                       "potentials U (K-by-1).");
    const char* const rowsMessage =
        "Input 1 (positions) has too many rows: one call takes at most 238609294 points, so that the 9*K elements "
        "of its tensors fit the host's 32-bit sizes.";
    return withModel ? withModelOutcome(call, "geoharm_gradient", MAX_GRADIENT_ROWS, rowsMessage)
                     : manyPointOutcome(call, "geoharm_gradient", MAX_GRADIENT_ROWS, rowsMessage);
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
