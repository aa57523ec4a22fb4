/*
 * model_routines.cpp - the engine's routines of a level (built once per
 * level, machine/level_functions.h): one point with the orders in the
 * lanes (model_orders.h), and many points in tiles with the points in the
 * lanes (model_tile.h).
 */
#include <type_traits>

#include "kernels/level_lanes.h"
#include "machine/level_functions.h"
#include "models/model_limits.h"
#include "models/model_orders.h"
#include "models/model_tile.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

namespace {

/* Registers of points per tile: one register, but two of SSE2's two
   lanes; more registers' state than that spills out of the registers and
   costs more than a tile's share of the tables' reading saves
   (docs/models.md). */
constexpr int TILE = Lanes::WIDTH == 2 ? 2 : 1;
constexpr int TILE_POINTS = TILE * Lanes::WIDTH;
static_assert(MODEL_TILE_POINTS % TILE_POINTS == 0, "a thread's run is whole tiles");

/* Tiles per group at degrees from MODEL_GROUPED_DEGREE on (model_tile.h):
   the tables are read from memory once per group. */
constexpr int GROUP = 4;
constexpr int GROUP_POINTS = GROUP * TILE_POINTS;
static_assert(MODEL_GROUP_POINTS % GROUP_POINTS == 0, "a thread's run is whole groups");

}  // namespace

void modelOnePoint(const ModelData& md, const double position[3], int degree, int order, double* U, double a[3],
                   double T[9]) {
    const ModelPoint<double> p = modelPoint<ScalarLane>(position[0], position[1], position[2], md.radius, md.gm);
    const PolarPoint<double> polar = polarPoint<ScalarLane>(position[0], position[1], position[2], p);
    const bool inCap = p.pzz < POLAR_CAP_U2;
    HornerSums<double> h;
    if (T != nullptr)
        modelOrders<Lanes, true>(md, p, polar, inCap, degree, order, h);
    else
        modelOrders<Lanes, false>(md, p, polar, inCap, degree, order, h);
    storeModelResults<ScalarLane>(h, p, md.gmOverRadius, U, a, T);
}

void modelManyPoints(const ModelData& md, std::size_t count, const double* x, const double* y, const double* z,
                     int degree, int order, double* U, double* ax, double* ay, double* az, double* T) {
    const auto at = [](double* out, std::size_t k) { return out != nullptr ? out + k : nullptr; };
    std::size_t k = 0;
    /* The points from k on in `group` tiles (std::integral_constant). */
    const auto tiles = [&](auto group) {
        constexpr int G = decltype(group)::value;
        const TileOutputs out{at(U, k), at(ax, k), at(ay, k), at(az, k), T != nullptr ? T + 9 * k : nullptr};
        if (T != nullptr)
            modelTile<Lanes, TILE, true, G>(md, x + k, y + k, z + k, degree, order, out);
        else
            modelTile<Lanes, TILE, false, G>(md, x + k, y + k, z + k, degree, order, out);
    };
    if (degree >= MODEL_GROUPED_DEGREE)
        for (; count - k >= static_cast<std::size_t>(GROUP_POINTS); k += GROUP_POINTS)
            tiles(std::integral_constant<int, GROUP>{});
    for (; count - k >= static_cast<std::size_t>(TILE_POINTS); k += TILE_POINTS) tiles(std::integral_constant<int, 1>{});
    /* The points left over, one by one (the same bits). */
    const bool acceleration = ax != nullptr || ay != nullptr || az != nullptr;
    for (; k < count; k++) {
        const double position[3] = {x[k], y[k], z[k]};
        double a[3];
        modelOnePoint(md, position, degree, order, at(U, k), acceleration ? a : nullptr,
                      T != nullptr ? T + 9 * k : nullptr);
        if (ax != nullptr) ax[k] = a[0];
        if (ay != nullptr) ay[k] = a[1];
        if (az != nullptr) az[k] = a[2];
    }
}

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
