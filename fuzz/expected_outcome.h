/*
 * expected_outcome.h - what a plug-in must make of a call, worked out
 * from the call's description alone (not from the gateway's code): the
 * error it must end in, or the FieldInput(s) it must evaluate.  The rules
 * of geoharm below; those of geoharm_batch and geoharm_gradient at
 * expectedBatchOutcome and expectedGradientOutcome.
 *
 * The rules, as the plug-in documents them to its callers:
 *   - fewer than three inputs, or more: geoharm:nrhs (two messages);
 *   - input 1 not a real, non-sparse double array of at least three
 *     elements: geoharm:position; such an array with more than one row
 *     and more than one column (the dimensions after the first counted
 *     together): geoharm:position with the matrix message;
 *   - N (then M) not logical or numeric, sparse, or empty: geoharm:degree
 *     (geoharm:order); a floating-point N (M) whose first element is NaN:
 *     geoharm:degree (geoharm:order) with the NaN message;
 *   - otherwise x, y, z are the first three doubles of input 1; an int8
 *     limit is its first byte; any other class is its first element's
 *     value truncated toward zero and saturated to -128..127 (logical: 0
 *     or 1).  Imaginary parts are not looked at.
 */
#ifndef GEOHARM_FUZZ_EXPECTED_OUTCOME_H
#define GEOHARM_FUZZ_EXPECTED_OUTCOME_H

#include <string>
#include <vector>

#include "kernels/field_types.h"
#include "fuzz_call.h"

namespace geoharm_fuzz {

struct ExpectedOutcome {
    bool valid = false;
    std::string identifier; /* when !valid */
    std::string message;
    geoharm::FieldInput input{}; /* when valid: the point (geoharm); N and M (both) */
    std::vector<geoharm::FieldInput> rows; /* when valid, geoharm_batch, geoharm_gradient: each row of P */
};

/* expectedOutcome - what geoharm must make of the call. */
ExpectedOutcome expectedOutcome(const FuzzCall& call);

/*
 * expectedBatchOutcome - what geoharm_batch must make of the call with
 * nlhs outputs asked for.  Its rules, as documented to its callers:
 *   - fewer than three inputs, or more: geoharm_batch:nrhs; nlhs not 0, 1
 *     or 3: geoharm_batch:nlhs;
 *   - input 1 not real, non-sparse double: geoharm_batch:positions (class
 *     message); its dimensions, trailing ones after the second dropped,
 *     not two: the shape message; two, with 3 rows and not 3 columns: the
 *     3-by-K message; not 3 columns: the shape message; more than
 *     715827882 rows: the rows message;
 *   - N, then M, as geoharm reads them, with the geoharm_batch
 *     identifiers;
 *   - otherwise row k is (P(k,1), P(k,2), P(k,3)), N, M.
 */
ExpectedOutcome expectedBatchOutcome(const FuzzCall& call, int nlhs);

/*
 * expectedGradientOutcome - what geoharm_gradient must make of the call
 * with nlhs outputs asked for.  Its rules, as documented to its callers:
 *   - not exactly three inputs: geoharm_gradient:nrhs; more than three
 *     outputs: geoharm_gradient:nlhs;
 *   - P, N and M as geoharm_batch reads them (its own row bound: at most
 *     238609294 rows), with the geoharm_gradient identifiers;
 *   - otherwise row k is (P(k,1), P(k,2), P(k,3)), N, M.
 */
ExpectedOutcome expectedGradientOutcome(const FuzzCall& call, int nlhs);

/*
 * expectedModelOutcome - what geoharm_model_tables must make of the call
 * with nlhs outputs asked for: any input, geoharm_model_tables:nrhs; more
 * than six outputs, geoharm_model_tables:nlhs; otherwise its outputs
 * (valid, with nothing else in the outcome).
 */
ExpectedOutcome expectedModelOutcome(const FuzzCall& call, int nlhs);

/*
 * readLimits - N and M of the call (inputs 2 and 3) by the rules above,
 * into e.input.n and e.input.m; false with the refusal in `e`, under the
 * identifiers given.
 */
bool readLimits(const FuzzCall& call, const char* degreeId, const char* orderId, ExpectedOutcome& e);

/* refusal - the outcome of a call refused with this identifier and message. */
ExpectedOutcome refusal(const char* identifier, const char* message);

}  // namespace geoharm_fuzz

#endif
