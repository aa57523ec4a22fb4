// geoharm-eval --model from the outside: each line the loaded model's own
// doubles (GravityModel in this process) with every option, N and M of
// any int; a model that does not load ends the tool before it reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <geoharm/geoharm.h>

#include "record_io.h"
#include "tool_run.h"

namespace {

const std::string DATA = GEOHARM_MODEL_DATA;
const std::string COMPILED_IN = "\"" + DATA + "/compiled_in_unnormalized.gfc\"";
const std::string TIME_VARIABLE = DATA + "/v2_two_intervals.gfc";

geoharm_test::ToolOutput runEval(const std::string& options, const std::string& input = "") {
    return geoharm_test::runCommand(std::string("\"") + GEOHARM_EVAL + "\" " + options, input);
}

}  // namespace

TEST(EvalToolModel, LinesAreTheLoadedModelsDoubles) {
    // A time-variable model at two epochs, one point and many, acceleration
    // and gradient; limits beyond int8, the central term, the origin.
    const std::string input = "7e6 1e6 2e6 2 2\n-6.5e6 2.5e6 -1.5e6 3 1\n0 0 6378137 100000 7\n7e6 1e6 2e6 1 1\n"
                              "7e6 1e6 2e6 -2147483648 2\n7e6 1e6 2e6 2147483647 2147483647\n0 0 0 3 3\n";
    for (const char* epoch : {"2010.5", "2012-03-01"}) {
        char message[512] = "";
        const geoharm::GravityModel model = geoharm::GravityModel::load(TIME_VARIABLE.c_str(), epoch, message, 512);
        ASSERT_TRUE(model.ok()) << message;
        for (bool gradient : {false, true}) {
            std::string want, line, why;
            for (std::istringstream records(input); std::getline(records, line);) {
                geoharm::Record r;
                ASSERT_EQ(geoharm::parseRecord(line, r, why, geoharm::LimitRange::Int), geoharm::RecordKind::Record);
                const double p[3] = {r.x, r.y, r.z};
                double T[9], a[3], U, values[geoharm::GRADIENT_LINE_VALUES];
                model.gradient(p, r.n, r.m, T, a, &U);
                geoharm::gradientLine(U, a, T, values); /* a: bit for bit acceleration()'s */
                const int from = gradient ? 0 : 1, count = gradient ? 13 : 3;
                want += geoharm::formatResult(values + from, count, geoharm::NumberFormat::Bits) + "\n";
            }
            for (const char* many : {"", " --many"}) {
                const std::string options = "--bits --model \"" + TIME_VARIABLE + "\" --epoch " + epoch +
                                            (gradient ? " --gradient" : "") + many;
                const geoharm_test::ToolOutput run = runEval(options, input);
                EXPECT_EQ(run.status, 0) << options << ": " << run.err;
                EXPECT_EQ(run.out, want) << options;
            }
        }
    }
}

TEST(EvalToolModel, RefusalsEndBeforeAnyRecordIsRead) {
    // A model that does not load, or a bad command line: status 2, standard
    // error starts with `message` and holds `also`, the input unread.  A
    // record beyond the limits: status 1 after the line of the one before.
    const std::string missing = DATA + "/no_such_model.gfc", refused = testing::TempDir() + "geoharm_refused.gfc";
    std::ofstream(refused, std::ios::binary) << "radius 6378137\nmax_degree 2\nend_of_head\ngfc 2 0 -1e-3 0\n";
    const std::string time = "\"" + TIME_VARIABLE + "\"", e = "geoharm-eval: ";
    struct Case {
        std::string options, message, also;
        int status;
    };
    const Case cases[] = {
        {"--model \"" + missing + "\"", e + missing + ": ", "cannot open it", 2},
        {"--many --model \"" + refused + "\"", e + refused + ":", "gravity_constant", 2},
        {"--model " + time, e + TIME_VARIABLE + ":", "epoch", 2},
        {"--model " + time + " --epoch 2020-01-01", e + TIME_VARIABLE + ":", "holds the epoch", 2},
        {"--gradient --model " + time + " --epoch 2010-13-45", e + TIME_VARIABLE + ": epoch '2010-13-45'", "date", 2},
        {"--epoch 2010.5", e + "--epoch needs --model", "usage", 2},
        {"--bits --model", e + "--model needs a file", "", 2},
        {"--many --model " + COMPILED_IN, e + "line 2: N is not an integer in -2147483648..2147483647: '2147483648'",
         "", 1},
    };
    const std::string input = "7e6 1e6 2e6 10 10\n7e6 1e6 2e6 2147483648 2\n";
    const std::string first = runEval("", "7e6 1e6 2e6 10 10\n").out;
#if defined(_WIN32)
    const std::string before = "\"", after, unread;
#else
    const std::string before = "{ \"", after = "; s=$?; cat; exit $s; }", unread = input; /* cat: what is unread */
#endif
    for (const Case& c : cases) {
        const auto run = geoharm_test::runCommand(before + GEOHARM_EVAL + "\" " + c.options + after, input);
        EXPECT_EQ(run.status, c.status) << c.options;
        EXPECT_EQ(run.out, c.status == 2 ? unread : first) << c.options;
        EXPECT_EQ(run.err.find(c.message), 0u) << c.options << ": " << run.err;
        EXPECT_NE(run.err.find(c.also), std::string::npos) << c.options << ": " << run.err;
    }
    std::remove(refused.c_str());
    // --help and --version name the options; --version the model too.
    EXPECT_NE(runEval("--help").out.find("--model FILE [--epoch EPOCH]"), std::string::npos);
    EXPECT_NE(runEval("--version").out.find("--model FILE [--epoch EPOCH]"), std::string::npos);
    EXPECT_NE(runEval("--version --model " + COMPILED_IN).out.find("degree 10 (the compiled-in"), std::string::npos);
}
