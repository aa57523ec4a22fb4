/*
 * edge_doubles.cpp - the doubles a fuzzer byte can pick by index
 * (fuzz_call.h): values at which the evaluation or the reading of N and M
 * changes behaviour, and ordinary orbital radii.
 */
#include <limits>

#include "fuzz_call.h"

namespace geoharm_fuzz {

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double QNAN = std::numeric_limits<double>::quiet_NaN();
constexpr double SNAN = std::numeric_limits<double>::signaling_NaN();
constexpr double TINY = std::numeric_limits<double>::denorm_min();
constexpr double MIN_NORMAL = std::numeric_limits<double>::min();
constexpr double HUGE_ = std::numeric_limits<double>::max();

}  // namespace

const double EDGE_DOUBLES[EDGE_COUNT] = {
    /* zeros, units, limits as the caller writes them */
    0.0, -0.0, 1.0, -1.0, 2.0, 10.0, 11.0, 127.0, 127.5, -128.0, -128.5, 255.0, 10.9, -0.9,
    /* non-finite */
    QNAN, -QNAN, SNAN, INF, -INF,
    /* the ends of the double range */
    TINY, -TINY, MIN_NORMAL, -MIN_NORMAL, HUGE_, -HUGE_,
    /* where squares and GM/r^2 overflow or underflow */
    1e154, 1.3407807929942596e154, 1.35e154, -1e300, 1e-154, 1.5e-147, 1e-160, 1e-170,
    /* ordinary positions: surface, LEO, GPS, GEO */
    6378137.0, 7000000.0, -6500000.0, 26560000.0, 42164000.0, 488603.552, -9947002.437};

}  // namespace geoharm_fuzz
