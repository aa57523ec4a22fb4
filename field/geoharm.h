/*
 * geoharm.h - the one header a C++ program includes to evaluate the
 * degree-10 geopotential model (installed as <geoharm/geoharm.h> with the
 * static library geoharm::field; find_package(geoharm CONFIG)).
 *
 * It declares:
 *   evaluateAcceleration      the acceleration at one point
 *                             (evaluate_acceleration.h, FieldInput in
 *                             field_types.h)
 *   evaluateAccelerationMany  the same at many points with one N and M
 *                             (evaluate_acceleration_many.h)
 *   GM, R_REF, MAX_DEGREE     the model's constants (field_constants.h)
 *
 * Units and axes: positions in metres, Earth-fixed Cartesian axes with the
 * origin at the centre of mass; accelerations in m/s^2 in the same axes.
 *
 * Limits of N (largest degree) and M (largest order), signed 8-bit:
 *   0..10             the terms up to that degree / order;
 *   above 10          the same as 10 (the model stops there);
 *   N <= 1 or M < 0   the central (point-mass) term alone;
 *   M > N             the same as M = N.
 *
 * Identical bits: every operation is an IEEE double rounded on its own, in
 * a fixed order, inside the library, which is built with contraction off
 * and without fast-math, and evaluates in a fixed floating-point state
 * (round to nearest, subnormals kept, exceptions masked; the caller's state
 * is given back).  A program gets the same result, to the last bit, as the
 * MATLAB and Octave plug-ins and every other build, whatever compiler
 * options it uses itself: nothing here is computed inline in the caller.
 * Calls from several threads at once are safe.
 */
#ifndef GEOHARM_GEOHARM_H
#define GEOHARM_GEOHARM_H

#include "evaluate_acceleration.h"
#include "evaluate_acceleration_many.h"
#include "field_constants.h"

#endif
