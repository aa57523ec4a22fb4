/*
 * normalization.h - how a model's coefficients are normalised, as its file
 * (the key norm) or its tables say: fully normalised (geodesy's 4-pi
 * normalisation, no Condon-Shortley phase), or not normalised at all.
 */
#ifndef GEOHARM_NORMALIZATION_H
#define GEOHARM_NORMALIZATION_H

namespace geoharm {

enum class Normalization { FullyNormalized, Unnormalized };

}  // namespace geoharm

#endif
