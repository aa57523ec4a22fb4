/*
 * gateway_errors.h - identifiers and messages of the calls the gateway
 * refuses.  Each names the argument at fault, counted from 1 as the caller
 * writes them.
 */
#ifndef GEOHARM_GATEWAY_ERRORS_H
#define GEOHARM_GATEWAY_ERRORS_H

namespace geoharm {

constexpr const char* NRHS_ID = "geoharm:nrhs";
constexpr const char* NRHS_MESSAGE = "geoharm needs three inputs: position, N and M.";

constexpr const char* POSITION_ID = "geoharm:position";
constexpr const char* POSITION_MESSAGE =
    "Input 1 (position) must be a real, non-sparse double array of at least three elements.";

constexpr const char* DEGREE_ID = "geoharm:degree";
constexpr const char* DEGREE_MESSAGE = "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.";
constexpr const char* DEGREE_NAN_MESSAGE = "Input 2 (N, maximum degree) must not be NaN.";

constexpr const char* ORDER_ID = "geoharm:order";
constexpr const char* ORDER_MESSAGE = "Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.";
constexpr const char* ORDER_NAN_MESSAGE = "Input 3 (M, maximum order) must not be NaN.";

}  // namespace geoharm

#endif
