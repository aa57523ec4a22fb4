/*
 * synthetic_model.h - realistic synthetic gravity models, the same bits on
 * every platform, and a fingerprint of a model's bits.
 *
 *   makeSyntheticModel  a fully normalised model of degree 2..2700 from a
 *                       seed (synthetic_constants.h gives GM, R, C(2,0))
 *   kaulaRms            the root mean square Kaula's rule gives degree n
 *   modelFingerprint    a 64-bit hash of every bit of a model
 */
#ifndef GEOHARM_TESTS_MODELS_SYNTHETIC_MODEL_H
#define GEOHARM_TESTS_MODELS_SYNTHETIC_MODEL_H

#include <cstdint>

#include "harmonic_model.h"

namespace geoharm_test {

/*
 * makeSyntheticModel - a model whose coefficients follow Kaula's rule.
 *
 * Given:
 *   maxDegree  the highest degree, 2..SYNTHETIC_MAX_DEGREE
 *   seed       any 64-bit number; each seed is another model
 * Returned:
 *   the model: GM = SYNTHETIC_GM, R = SYNTHETIC_RADIUS, C(0,0) = 1,
 *   degree 1 zero (the origin at the centre of mass), C(2,0) =
 *   SYNTHETIC_C20, S(n,0) = 0, and every other C(n,m), S(n,m) of degrees
 *   2..maxDegree kaulaRms(n) times a pseudo-random deviate of mean 0 and
 *   root mean square 1.
 *
 * Notes:
 *   1. The deviates are drawn from splitmix64 (an integer generator) in
 *      the order n = 2..maxDegree, m = 0..n, C before S, and shaped with
 *      +, -, *, / on doubles alone: each deviate is the sum of twelve
 *      uniform numbers in [0, 1) less 6 (nearly normal, within +-6).  The
 *      same seed gives the same bits on every build and processor.
 *   2. A model is the leading part of every model of higher degree made
 *      from the same seed.
 *   3. Throws std::invalid_argument for a degree outside 2..2700.
 */
HarmonicModel makeSyntheticModel(int maxDegree, std::uint64_t seed);

/* KAULA_SCALE / n^2, one rounding (n >= 1). */
double kaulaRms(int n);

/* FNV-1a over the bytes of GM, R, the degree and every coefficient's bits,
   C then S, in table order (little-endian byte order on every build). */
std::uint64_t modelFingerprint(const HarmonicModel& model);

}  // namespace geoharm_test

#endif
