/*
 * make_synthetic_model - writes a synthetic Kaula-rule model as an ICGEM
 * file.
 *
 *   make_synthetic_model --degree N [--seed S] [--output FILE]
 *                        [--unnormalised] [--sigmas] [--fortran-exponent]
 *                        [--name NAME] [--fingerprint]
 *
 * Given:
 *   --degree N          highest degree, 2..2700
 *   --seed S            64-bit unsigned seed (default 1)
 *   --output FILE       where to write (default: standard output)
 *   --unnormalised      unnormalised coefficients (degree <= 80)
 *   --sigmas            two columns of formal errors
 *   --fortran-exponent  numbers as -4.8416514379081500D-04
 *   --name NAME         the modelname (default synthetic_N<N>_seed<S>)
 *   --fingerprint       print the model's 64-bit fingerprint (hex) on
 *                       standard error
 * Returned:
 *   exit status 0, 1 when the file cannot be written, 2 for a bad command
 *   line (with the reason on standard error)
 */
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "icgem_writer.h"
#include "synthetic_constants.h"
#include "synthetic_model.h"

namespace {

int usage(const char* reason) {
    std::fprintf(stderr,
                 "make_synthetic_model: %s\n"
                 "usage: make_synthetic_model --degree N [--seed S] [--output FILE] [--unnormalised] [--sigmas]\n"
                 "                            [--fortran-exponent] [--name NAME] [--fingerprint]\n",
                 reason);
    return 2;
}

/* A whole decimal number, or false. */
bool parseUnsigned(const char* text, std::uint64_t& value) {
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0') return false;
    value = v;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t degree = 0, seed = 1;
    bool haveDegree = false, fingerprint = false;
    const char* output = nullptr;
    geoharm_test::IcgemLayout layout;
    layout.modelName.clear();
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--degree" && hasValue) {
            if (!parseUnsigned(argv[++i], degree)) return usage("--degree takes a whole number");
            haveDegree = true;
        } else if (arg == "--seed" && hasValue) {
            if (!parseUnsigned(argv[++i], seed)) return usage("--seed takes a whole number");
        } else if (arg == "--output" && hasValue) {
            output = argv[++i];
        } else if (arg == "--name" && hasValue) {
            layout.modelName = argv[++i];
        } else if (arg == "--unnormalised") {
            layout.unnormalised = true;
        } else if (arg == "--sigmas") {
            layout.sigmas = true;
        } else if (arg == "--fortran-exponent") {
            layout.fortranExponent = true;
        } else if (arg == "--fingerprint") {
            fingerprint = true;
        } else {
            return usage(("unknown or incomplete argument " + arg).c_str());
        }
    }
    if (!haveDegree) return usage("--degree is required");
    if (degree < 2 || degree > static_cast<std::uint64_t>(geoharm_test::SYNTHETIC_MAX_DEGREE))
        return usage("--degree must be 2..2700");
    if (layout.unnormalised && degree > static_cast<std::uint64_t>(geoharm_test::MAX_UNNORMALISED_DEGREE))
        return usage("--unnormalised goes up to degree 80");
    if (layout.modelName.empty())
        layout.modelName = "synthetic_N" + std::to_string(degree) + "_seed" + std::to_string(seed);

    const geoharm_test::HarmonicModel model = geoharm_test::makeSyntheticModel(static_cast<int>(degree), seed);
    if (fingerprint) std::fprintf(stderr, "fingerprint %016" PRIx64 "\n", geoharm_test::modelFingerprint(model));

    std::FILE* out = output ? std::fopen(output, "wb") : stdout;
    if (!out) {
        std::fprintf(stderr, "make_synthetic_model: cannot open %s: %s\n", output, std::strerror(errno));
        return 1;
    }
    bool ok = geoharm_test::writeIcgem(out, model, layout);
    ok = (output ? std::fclose(out) : std::fflush(out)) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "make_synthetic_model: writing %s failed\n", output ? output : "standard output");
        return 1;
    }
    return 0;
}
