/*
 * evaluate_some_outputs_many.h - the compiled-in model at many points with
 * any of its outputs left out.
 */
#ifndef GEOHARM_EVALUATE_SOME_OUTPUTS_MANY_H
#define GEOHARM_EVALUATE_SOME_OUTPUTS_MANY_H

#include <cstddef>
#include <cstdint>

namespace geoharm {

/*
 * evaluateSomeOutputsMany - evaluateAccelerationMany or
 * evaluateGradientMany, whichever the outputs wanted need, with any of U,
 * ax, ay, az and T null (not computed).
 *
 * Notes:
 *   1. The many-point routines take the tensor always and the
 *      acceleration whole or not at all.  With every output they need
 *      given: one call (its threads).  Otherwise BLOCK points a call, what
 *      is not wanted into scratch on the stack (256 tensors and two
 *      components, 22.5 KiB; blocks this small run on the calling thread).
 *   2. Each point's results have their bits whatever routine or block
 *      they come from: the outputs given get the bits of a call with all
 *      given.  The acceleration alone takes the acceleration's routine
 *      (cheaper; its bits are the gradient's acceleration's).
 */
void evaluateSomeOutputsMany(std::size_t count, const double* x, const double* y, const double* z, std::int8_t n,
                             std::int8_t m, double* U, double* ax, double* ay, double* az, double* T);

}  // namespace geoharm

#endif
