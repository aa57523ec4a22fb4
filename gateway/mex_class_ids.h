/*
 * mex_class_ids.h - the host's class identifiers of arrays, as the host's
 * class query returns them (numbering in mex_host.h).
 */
#ifndef GEOHARM_MEX_CLASS_IDS_H
#define GEOHARM_MEX_CLASS_IDS_H

#include "mex_platform.h"

namespace geoharm {

constexpr MexInt UNKNOWN_CLASS = 0;
constexpr MexInt CELL_CLASS = 1;
constexpr MexInt STRUCT_CLASS = 2;
constexpr MexInt LOGICAL_CLASS = 3;
constexpr MexInt CHAR_CLASS = 4;
constexpr MexInt VOID_CLASS = 5;
constexpr MexInt DOUBLE_CLASS = 6;
constexpr MexInt SINGLE_CLASS = 7;
constexpr MexInt INT8_CLASS = 8;
constexpr MexInt UINT8_CLASS = 9;
constexpr MexInt INT16_CLASS = 10;
constexpr MexInt UINT16_CLASS = 11;
constexpr MexInt INT32_CLASS = 12;
constexpr MexInt UINT32_CLASS = 13;
constexpr MexInt INT64_CLASS = 14;
constexpr MexInt UINT64_CLASS = 15;
constexpr MexInt FUNCTION_CLASS = 16;

}  // namespace geoharm

#endif
