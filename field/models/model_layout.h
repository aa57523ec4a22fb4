/*
 * model_layout.h - where the number of degree n and order m of a model
 * lies in the engine's tables (coefficients, recursion factors).
 *
 * The orders are taken in groups of GROUP_ORDERS consecutive ones (group g:
 * m = 8g .. 8g+7); a group's entries are stored degree by degree from
 * n = 8g to the model's degree L, GROUP_ORDERS doubles a degree, one per
 * order:
 *
 *   entry (n, m) at groupStart(g) + GROUP_ORDERS (n - 8g) + (m - 8g),
 *   groupStart(g) = GROUP_ORDERS * sum over g' < g of (L + 1 - 8g').
 *
 * Entries with m > n (the first rows of a group) and orders above L (the
 * last group) hold zero.  So the orders of one degree lie side by side,
 * as the one-point routine reads them (one register of orders), and one
 * order's degrees at a fixed stride, as the many-point routine reads them
 * (one order at a time, for every point of a tile); a group's rows, once
 * read for its first order, are in the cache for the other seven.
 * The layout of degree L serves every model of that degree.
 */
#ifndef GEOHARM_MODEL_LAYOUT_H
#define GEOHARM_MODEL_LAYOUT_H

#include <cstddef>

namespace geoharm {

constexpr int GROUP_ORDERS = 8;

/* The groups of a model of degree L. */
inline int groupCount(int L) { return L / GROUP_ORDERS + 1; }

/* The first entry of group g of a model of degree L. */
inline std::size_t groupStart(int L, int g) {
    const std::size_t rows = static_cast<std::size_t>(g) * static_cast<std::size_t>(L + 1) -
                             static_cast<std::size_t>(GROUP_ORDERS) * static_cast<std::size_t>(g) *
                                 static_cast<std::size_t>(g - 1) / 2;
    return static_cast<std::size_t>(GROUP_ORDERS) * rows;
}

/* The entries of the tables of a model of degree L. */
inline std::size_t layoutSize(int L) { return groupStart(L, groupCount(L)); }

/* Entry (n, m) of a model of degree L, m <= n <= L. */
inline std::size_t layoutIndex(int L, int n, int m) {
    const int g = m / GROUP_ORDERS;
    return groupStart(L, g) + static_cast<std::size_t>(GROUP_ORDERS) * static_cast<std::size_t>(n - GROUP_ORDERS * g) +
           static_cast<std::size_t>(m - GROUP_ORDERS * g);
}

}  // namespace geoharm

#endif
