/*
 * synthetic_model.cpp - Kaula-rule synthetic models from splitmix64.
 *
 * References:
 *   Kaula, W. M., Theory of Satellite Geodesy, Blaisdell, 1966: the rule
 *   of thumb rms(C(n,m), S(n,m)) ~ 1e-5 / n^2.
 *   Steele, G. L., Lea, D., Flood, C. H., Fast splittable pseudorandom
 *   number generators, OOPSLA 2014 (splitmix64).
 */
#include "synthetic_model.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "synthetic_constants.h"

namespace geoharm_test {

namespace {

/* splitmix64: a Weyl sequence through a bijective mixer; any seed. */
struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    /* Uniform in [0, 1): the top 53 bits, scaled exactly. */
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    /* Irwin-Hall: twelve uniforms have variance 12/12 = 1 about 6.  No
       logarithm or cosine (Box-Muller), whose last bits differ between
       C libraries. */
    double deviate() {
        double sum = 0.0;
        for (int i = 0; i < 12; i++) sum += uniform();
        return sum - 6.0;
    }
};

/* FNV-1a over the eight bytes of v's bits, least significant first. */
void hashDouble(std::uint64_t& h, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; i++) {
        h ^= (bits >> (8 * i)) & 0xFFu;
        h *= 0x100000001B3ULL;
    }
}

}  // namespace

double kaulaRms(int n) { return KAULA_SCALE / (static_cast<double>(n) * static_cast<double>(n)); }

HarmonicModel makeSyntheticModel(int maxDegree, std::uint64_t seed) {
    if (maxDegree < 2 || maxDegree > SYNTHETIC_MAX_DEGREE)
        throw std::invalid_argument("synthetic model degree " + std::to_string(maxDegree) + " is outside 2.." +
                                    std::to_string(SYNTHETIC_MAX_DEGREE));
    HarmonicModel model;
    model.gm = SYNTHETIC_GM;
    model.radius = SYNTHETIC_RADIUS;
    model.maxDegree = maxDegree;
    model.C.assign(triangularSize(maxDegree), 0.0);
    model.S.assign(triangularSize(maxDegree), 0.0);
    model.C[triangularIndex(0, 0)] = 1.0;

    SplitMix64 rng{seed};
    for (int n = 2; n <= maxDegree; n++) {
        const double rms = kaulaRms(n);
        for (int m = 0; m <= n; m++) {
            const std::size_t k = triangularIndex(n, m);
            model.C[k] = n == 2 && m == 0 ? SYNTHETIC_C20 : rms * rng.deviate();
            if (m > 0) model.S[k] = rms * rng.deviate();
        }
    }
    return model;
}

std::uint64_t modelFingerprint(const HarmonicModel& model) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    hashDouble(h, model.gm);
    hashDouble(h, model.radius);
    hashDouble(h, static_cast<double>(model.maxDegree));
    for (double c : model.C) hashDouble(h, c);
    for (double s : model.S) hashDouble(h, s);
    return h;
}

}  // namespace geoharm_test
