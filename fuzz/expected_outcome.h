/*
 * expected_outcome.h - what the plug-in must make of a call, worked out
 * from the call's description alone (not from the gateway's code): the
 * error it must end in, or the FieldInput it must evaluate.
 *
 * The rules, as the plug-in documents them to its callers:
 *   - fewer than three inputs: geoharm:nrhs;
 *   - input 1 not a real, non-sparse double array of at least three
 *     elements: geoharm:position;
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

#include "field_types.h"
#include "fuzz_call.h"

namespace geoharm_fuzz {

struct ExpectedOutcome {
    bool valid = false;
    std::string identifier; /* when !valid */
    std::string message;
    geoharm::FieldInput input{}; /* when valid */
};

ExpectedOutcome expectedOutcome(const FuzzCall& call);

}  // namespace geoharm_fuzz

#endif
