/*
 * gravity_model_types.h - what describes a gravity model besides its
 * numbers (installed as <geoharm/gravity_model_types.h>, included by
 * <geoharm/gravity_model.h>):
 *
 *   Normalization     how its coefficients are normalised: fully
 *                     (geodesy's 4-pi normalisation, without the
 *                     Condon-Shortley phase: the ICGEM files' norm
 *                     fully_normalized), or not at all (unnormalized)
 *   MAX_MODEL_DEGREE  the highest degree a model may have
 */
#ifndef GEOHARM_GRAVITY_MODEL_TYPES_H
#define GEOHARM_GRAVITY_MODEL_TYPES_H

namespace geoharm {

enum class Normalization { FullyNormalized, Unnormalized };

inline constexpr int MAX_MODEL_DEGREE = 2700;

}  // namespace geoharm

#endif
