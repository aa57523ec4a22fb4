/*
 * icgem_writer.cpp - ICGEM gravity-field files.
 *
 * Reference:
 *   Barthelmes, F., Foerste, C., The ICGEM-format, GFZ Potsdam, 2011
 *   (format icgem2.0 adds the "format" keyword).
 */
#include "icgem_writer.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "synthetic_model.h"

namespace geoharm_test {

namespace {

/* One number with 17 significant digits, as %.17g or with a Fortran D
   exponent (the mantissa's E changed to D). */
std::string number(double v, bool fortranExponent) {
    char text[40];
    std::snprintf(text, sizeof text, fortranExponent ? "%.16E" : "%.17g", v);
    std::string s = text;
    if (fortranExponent) {
        const std::size_t e = s.find('E');
        if (e != std::string::npos) s[e] = 'D';
    }
    return s;
}

}  // namespace

double unnormalisationFactor(int n, int m) {
    double q = (m == 0 ? 1.0 : 2.0) * (2 * n + 1);
    for (int i = n - m + 1; i <= n + m; i++) q /= i;
    return std::sqrt(q);
}

bool writeIcgem(std::FILE* out, const HarmonicModel& model, const IcgemLayout& layout) {
    if (layout.unnormalised && model.maxDegree > MAX_UNNORMALISED_DEGREE)
        throw std::invalid_argument("an unnormalised file goes up to degree " +
                                    std::to_string(MAX_UNNORMALISED_DEGREE));
    const bool f = layout.fortranExponent;
    bool ok = std::fprintf(out,
                           "begin_of_head\n"
                           "product_type            gravity_field\n"
                           "modelname               %s\n"
                           "earth_gravity_constant  %s\n"
                           "radius                  %s\n"
                           "max_degree              %d\n"
                           "errors                  %s\n"
                           "norm                    %s\n"
                           "tide_system             tide_free\n"
                           "format                  icgem2.0\n"
                           "key     L    M    C                        S%s\n"
                           "end_of_head\n",
                           layout.modelName.c_str(), number(model.gm, f).c_str(), number(model.radius, f).c_str(),
                           model.maxDegree, layout.sigmas ? "formal" : "no",
                           layout.unnormalised ? "unnormalized" : "fully_normalized",
                           layout.sigmas ? "                        sigma C                  sigma S" : "") > 0;
    for (int n = 0; n <= model.maxDegree && ok; n++) {
        const double sigma = n < 2 ? 0.0 : kaulaRms(n) / 100.0;
        for (int m = 0; m <= n && ok; m++) {
            const double scale = layout.unnormalised ? unnormalisationFactor(n, m) : 1.0;
            std::string line = "gfc " + std::to_string(n) + " " + std::to_string(m) + " " +
                               number(model.c(n, m) * scale, f) + " " + number(model.s(n, m) * scale, f);
            if (layout.sigmas)
                line += " " + number(sigma * scale, f) + " " + number(m == 0 ? 0.0 : sigma * scale, f);
            line += '\n';
            ok = std::fputs(line.c_str(), out) >= 0;
        }
    }
    return ok;
}

}  // namespace geoharm_test
