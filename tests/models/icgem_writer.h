/*
 * icgem_writer.h - a model written as an ICGEM gravity-field file
 * (format icgem2.0), the form the engine reads models in.
 *
 *   IcgemLayout              how the numbers are written
 *   writeIcgem               the header and the gfc lines
 *   unnormalisationFactor    sqrt(k (2n+1) (n-m)!/(n+m)!), the factor from
 *                            fully normalised to unnormalised coefficients
 *   MAX_UNNORMALISED_DEGREE  the highest degree written unnormalised
 */
#ifndef GEOHARM_TESTS_MODELS_ICGEM_WRITER_H
#define GEOHARM_TESTS_MODELS_ICGEM_WRITER_H

#include <cstdio>
#include <string>

#include "harmonic_model.h"

namespace geoharm_test {

/* Above this degree (n + m)! passes 1e308 and the unnormalised
   coefficients of high order would leave the double range. */
inline constexpr int MAX_UNNORMALISED_DEGREE = 80;

struct IcgemLayout {
    std::string modelName = "synthetic";
    /* Coefficients times unnormalisationFactor(n, m), "norm unnormalized". */
    bool unnormalised = false;
    /* Two more columns of formal standard deviations (1 % of Kaula's rms
       of the degree), "errors formal"; otherwise "errors no". */
    bool sigmas = false;
    /* Numbers as Fortran writes them, -4.8416514379081500D-04 (17
       significant digits), instead of %.17g. */
    bool fortranExponent = false;
};

/*
 * writeIcgem - the model as an ICGEM file.
 *
 * Given:
 *   out     an open stream
 *   model   the model (fully normalised tables)
 *   layout  the options above
 * Returned:
 *   true when every write succeeded
 *
 * Notes:
 *   1. Header: begin_of_head, product_type gravity_field, modelname,
 *      earth_gravity_constant, radius, max_degree, errors, norm,
 *      tide_system tide_free, format icgem2.0, the key line, end_of_head;
 *      then one line "gfc n m C S [sigmaC sigmaS]" for every 0 <= m <= n
 *      <= maxDegree, by degree then order.
 *   2. Every number is written with 17 significant digits, so that it
 *      reads back as the same double.
 *   3. Throws std::invalid_argument for an unnormalised file above
 *      MAX_UNNORMALISED_DEGREE.
 */
bool writeIcgem(std::FILE* out, const HarmonicModel& model, const IcgemLayout& layout);

/* sqrt(k (2n+1) (n-m)!/(n+m)!), k = 1 for m = 0, 2 otherwise, in doubles:
   the factorial ratio as a running quotient, then one square root
   (0 <= m <= n <= MAX_UNNORMALISED_DEGREE). */
double unnormalisationFactor(int n, int m);

}  // namespace geoharm_test

#endif
