/*
 * limit_argument.h - a degree or order limit given as a plain int, as the
 * field's 8-bit limits take it.
 */
#ifndef GEOHARM_LIMIT_ARGUMENT_H
#define GEOHARM_LIMIT_ARGUMENT_H

#include <cstdint>

namespace geoharm {

/*
 * limitArgument - N or M saturated to -128..127, as MATLAB converts a
 * number to int8: 200 becomes 127 (which the model then takes as 10), never
 * the -56 of a wrap; -200 becomes -128 (the point mass, as any negative
 * value).
 */
inline std::int8_t limitArgument(int limit) {
    if (limit > INT8_MAX) return INT8_MAX;
    if (limit < INT8_MIN) return INT8_MIN;
    return static_cast<std::int8_t>(limit);
}

}  // namespace geoharm

#endif
