/*
 * limit_from_element.cpp - the first element of a numeric or logical array
 * as a signed 8-bit degree or order.
 *
 * Integers saturate:          v < -128 -> -128,  v > 127 -> 127.
 * Floating point truncates toward zero first, then saturates (so 10.9 is
 * 10, -0.5 is 0, +-inf is 127 / -128); NaN has no value and is refused.
 * A single is widened to double exactly, so it behaves as the same double.
 * Logical is 0 or 1.
 *
 * The element is copied out byte-wise (the data address need not be
 * aligned for the type as far as this routine is concerned).
 */
#include <cstring>

#include "gateway_routines.h"
#include "mex_class_ids.h"

namespace geoharm {

namespace {

/* Copy one element of type T from the data address. */
template <typename T>
T elementAt(MexPointer data) {
    T v;
    std::memcpy(&v, reinterpret_cast<const void*>(data), sizeof v);
    return v;
}

/* Saturate a signed integer to -128..127. */
std::int8_t saturateSigned(long long v) {
    if (v < -128) return -128;
    if (v > 127) return 127;
    return static_cast<std::int8_t>(v);
}

/* Saturate an unsigned integer to 0..127. */
std::int8_t saturateUnsigned(unsigned long long v) {
    if (v > 127) return 127;
    return static_cast<std::int8_t>(v);
}

/* Truncate toward zero and saturate; false for NaN. */
bool truncateReal(double v, std::int8_t* limit) {
    if (v != v) return false;
    if (v >= 127.0) {
        *limit = 127;
    } else if (v <= -128.0) {
        *limit = -128;
    } else {
        /* -128 < v < 127: the conversion truncates toward zero and fits. */
        *limit = static_cast<std::int8_t>(static_cast<int>(v));
    }
    return true;
}

}  // namespace

bool limitFromElement(MexInt classId, MexPointer data, std::int8_t* limit) {
    switch (classId) {
        case DOUBLE_CLASS:
            return truncateReal(elementAt<double>(data), limit);
        case SINGLE_CLASS:
            return truncateReal(static_cast<double>(elementAt<float>(data)), limit);
        case LOGICAL_CLASS:
            *limit = elementAt<std::uint8_t>(data) != 0 ? 1 : 0;
            return true;
        case INT8_CLASS:
            *limit = elementAt<std::int8_t>(data);
            return true;
        case UINT8_CLASS:
            *limit = saturateUnsigned(elementAt<std::uint8_t>(data));
            return true;
        case INT16_CLASS:
            *limit = saturateSigned(elementAt<std::int16_t>(data));
            return true;
        case UINT16_CLASS:
            *limit = saturateUnsigned(elementAt<std::uint16_t>(data));
            return true;
        case INT32_CLASS:
            *limit = saturateSigned(elementAt<std::int32_t>(data));
            return true;
        case UINT32_CLASS:
            *limit = saturateUnsigned(elementAt<std::uint32_t>(data));
            return true;
        case INT64_CLASS:
            *limit = saturateSigned(elementAt<std::int64_t>(data));
            return true;
        case UINT64_CLASS:
            *limit = saturateUnsigned(elementAt<std::uint64_t>(data));
            return true;
        default:
            /* Not reached: readLimitArgument passes numeric and logical only. */
            *limit = 0;
            return true;
    }
}

}  // namespace geoharm
