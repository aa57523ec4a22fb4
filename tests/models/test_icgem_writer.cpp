// ICGEM files read back: the header's keywords, and every number the same
// double as in the model (times the unnormalisation factor in the
// unnormalised layout), in each layout; and the same bytes on every build
// (a hash of the file worked out once: the C library's number formatting
// must not differ, e.g. in the exponent's digits).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../quad_sqrt.h"
#include "icgem_writer.h"
#include "synthetic_model.h"

namespace {

struct IcgemFile {
    std::map<std::string, std::string> head;
    std::vector<std::vector<std::string>> data;
    std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a of the bytes
};

IcgemFile writeAndRead(const geoharm_test::HarmonicModel& model, const geoharm_test::IcgemLayout& layout,
                       const char* path) {
    std::FILE* out = std::fopen(path, "wb");
    EXPECT_TRUE(out != nullptr);
    EXPECT_TRUE(geoharm_test::writeIcgem(out, model, layout));
    std::fclose(out);
    IcgemFile file;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    bool inHead = false, ended = false;
    while (std::getline(in, line)) {
        for (char c : line + '\n') file.hash = (file.hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        if (w[0] == "begin_of_head") inHead = true;
        else if (w[0] == "end_of_head") inHead = false, ended = true;
        else if (inHead) file.head[w[0]] = w.size() > 1 ? w[1] : "";
        else if (ended) file.data.push_back(w);
    }
    std::remove(path);
    return file;
}

/* A number as written, D exponent or not. */
double number(std::string text) {
    for (char& c : text)
        if (c == 'D') c = 'E';
    return std::strtod(text.c_str(), nullptr);
}

TEST(IcgemWriter, EveryLayoutReadsBackToTheModel) {
    const geoharm_test::HarmonicModel model = geoharm_test::makeSyntheticModel(30, 4);
    const struct {
        bool unnormalised, sigmas, fortran;
        const char* path;
        std::uint64_t hash;
    } layouts[] = {
        {false, false, false, "icgem_plain.gfc", 0xa4e1204dcfd28c9eULL},
        {false, true, true, "icgem_fortran_sigmas.gfc", 0x867a982bd6ac7f16ULL},
        {true, true, false, "icgem_unnormalised.gfc", 0xb2e745111fd66ab0ULL},
    };
    for (const auto& l : layouts) {
        geoharm_test::IcgemLayout layout;
        layout.modelName = "test_model";
        layout.unnormalised = l.unnormalised;
        layout.sigmas = l.sigmas;
        layout.fortranExponent = l.fortran;
        const IcgemFile file = writeAndRead(model, layout, l.path);
        EXPECT_EQ(file.hash, l.hash) << l.path << std::hex << " hash " << file.hash;
        const std::map<std::string, std::string> expected = {
            {"product_type", "gravity_field"},
            {"modelname", "test_model"},
            {"max_degree", "30"},
            {"errors", l.sigmas ? "formal" : "no"},
            {"norm", l.unnormalised ? "unnormalized" : "fully_normalized"},
            {"tide_system", "tide_free"},
            {"format", "icgem2.0"},
        };
        for (const auto& kv : expected) EXPECT_EQ(file.head.at(kv.first), kv.second) << l.path;
        EXPECT_EQ(number(file.head.at("earth_gravity_constant")), model.gm) << l.path;
        EXPECT_EQ(number(file.head.at("radius")), model.radius) << l.path;
        ASSERT_EQ(file.data.size(), model.C.size()) << l.path;
        for (int n = 0, k = 0; n <= model.maxDegree; n++)
            for (int m = 0; m <= n; m++, k++) {
                const std::vector<std::string>& w = file.data[static_cast<std::size_t>(k)];
                ASSERT_EQ(w.size(), l.sigmas ? 7u : 5u) << l.path << " line " << k;
                EXPECT_EQ(w[0] + " " + w[1] + " " + w[2], "gfc " + std::to_string(n) + " " + std::to_string(m));
                const double f = l.unnormalised ? geoharm_test::unnormalisationFactor(n, m) : 1.0;
                EXPECT_EQ(number(w[3]), model.c(n, m) * f) << l.path << " " << n << " " << m;
                EXPECT_EQ(number(w[4]), model.s(n, m) * f) << l.path << " " << n << " " << m;
            }
    }
    geoharm_test::IcgemLayout unnormalised;
    unnormalised.unnormalised = true;
    EXPECT_THROW(geoharm_test::writeIcgem(stdout, geoharm_test::makeSyntheticModel(81, 1), unnormalised),
                 std::invalid_argument);
}

TEST(IcgemWriter, UnnormalisationFactorIsTheFullNormalisation) {
    /* Against sqrt(k (2n+1) (n-m)!/(n+m)!) in quad; P(2,0) = (3t^2-1)/2
       has Pbar(2,0) = sqrt(5) P(2,0). */
    EXPECT_EQ(geoharm_test::unnormalisationFactor(2, 0), std::sqrt(5.0));
    for (int n : {1, 10, 40, 80})
        for (int m : {0, 1, n / 2, n}) {
            geoharm_test::Quad q = (m == 0 ? 1 : 2) * (2 * n + 1);
            for (int i = n - m + 1; i <= n + m; i++) q /= i;
            q = geoharm_test::quadSqrt(q);
            EXPECT_LT(std::fabs(static_cast<double>((geoharm_test::unnormalisationFactor(n, m) - q) / q)), 1e-14)
                << n << " " << m;
        }
}

}  // namespace
