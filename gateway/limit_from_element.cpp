/*
 * limit_from_element.cpp - the element of a numeric or logical scalar as a
 * degree or order.
 *
 * Integers saturate to LIMIT_LOW..LIMIT_HIGH (a million either way: beyond
 * any model's degree, so every value beyond acts as it does).
 * Floating point truncates toward zero first, then saturates (so 10.9 is
 * 10, -0.5 is 0, +-inf is LIMIT_HIGH / LIMIT_LOW); NaN has no value and
 * is refused.
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

/* Saturate a signed integer. */
int saturateSigned(long long v) {
    if (v < LIMIT_LOW) return LIMIT_LOW;
    if (v > LIMIT_HIGH) return LIMIT_HIGH;
    return static_cast<int>(v);
}

/* Saturate an unsigned integer. */
int saturateUnsigned(unsigned long long v) {
    if (v > static_cast<unsigned long long>(LIMIT_HIGH)) return LIMIT_HIGH;
    return static_cast<int>(v);
}

/* Truncate toward zero and saturate; false for NaN. */
bool truncateReal(double v, int* limit) {
    if (v != v) return false;
    if (v >= LIMIT_HIGH) {
        *limit = LIMIT_HIGH;
    } else if (v <= LIMIT_LOW) {
        *limit = LIMIT_LOW;
    } else {
        /* Within the range: the conversion truncates toward zero and fits. */
        *limit = static_cast<int>(v);
    }
    return true;
}

}  // namespace

bool limitFromElement(MexInt classId, MexPointer data, int* limit) {
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
