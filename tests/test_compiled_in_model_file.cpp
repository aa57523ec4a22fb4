// tests/data/models/compiled_in_unnormalized.gfc is geoharm::model() (with
// C(0,0) = 1) number for number, and the loader takes it for that model.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <geoharm/geoharm.h>

#include "bits.h"

TEST(CompiledInModelFile, HoldsTheCompiledInModelsNumbers) {
    const std::string path = std::string(GEOHARM_MODEL_DATA) + "/compiled_in_unnormalized.gfc";
    std::ifstream in(path, std::ios::binary);
    const geoharm::Model model = geoharm::model();
    std::map<std::string, std::string> header;
    int lines = 0, head = 0; /* head: 1 inside the header, 2 after it */
    for (std::string line, key, value; std::getline(in, line);) {
        std::istringstream fields(line);
        if (!(fields >> key)) continue;
        head = key == "begin_of_head" ? 1 : key == "end_of_head" ? 2 : head;
        if (head == 1) fields >> header[key];
        if (head < 2 || key == "end_of_head") continue;
        int n = -1, m = -1;
        std::string c, s, rest;
        ASSERT_TRUE(key == "gfc" && fields >> n >> m >> c >> s && !(fields >> rest)) << line;
        ASSERT_TRUE(0 <= m && m <= n && n <= geoharm::MAX_DEGREE && n * (n + 1) / 2 + m == lines++) << line;
        EXPECT_SAME_BITS(std::stod(c), n == 0 ? 1.0 : model.C[n][m]) << line;
        EXPECT_SAME_BITS(std::stod(s), model.S[n][m]) << line;
    }
    EXPECT_EQ(lines, (geoharm::MAX_DEGREE + 1) * (geoharm::MAX_DEGREE + 2) / 2);
    EXPECT_SAME_BITS(std::stod(header["earth_gravity_constant"]), model.gm);
    EXPECT_SAME_BITS(std::stod(header["radius"]), model.referenceRadius);
    EXPECT_EQ(header["max_degree"] + header["norm"], std::to_string(model.maxDegree) + "unnormalized");

    char message[512] = "";
    const geoharm::GravityModel loaded = geoharm::GravityModel::load(path.c_str(), nullptr, message, sizeof message);
    EXPECT_TRUE(loaded.ok() && loaded.isCompiledIn()) << message;
}
