// geoharm-call with the batch and the gradient plug-ins, from the outside:
// runs of records with the same N and M, one call each, print what
// geoharm-eval prints (with --gradient for the gradient plug-in); a refused
// call ends with "identifier: message" after the lines of the runs before
// it.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"
#include "worked_examples.h"

namespace {

using geoharm_test::runCommand;

std::string quoted(const char* path) { return std::string("\"") + path + "\""; }

geoharm_test::ToolOutput runBatch(const std::string& options, const std::string& input,
                                  const char* plugin = GEOHARM_BATCH_PLUGIN) {
    return runCommand(quoted(GEOHARM_CALL) + " " + quoted(plugin) + " " + options, input);
}

/* Runs of one record and of many, comments and blank lines between them,
   non-finite positions inside a run, and a run that comes back. */
std::string records() {
    std::string input = "# x y z N M\n";
    input += geoharm_test::workedExampleRecords();
    input +=
        "0 0 0 10 10\n"
        "\n"
        "nan 1 1 10 10\n"
        "# inside a run\n"
        "inf 0 7e6 10 10\n"
        "-0.0 0.0 6600000 4 2\n"
        "7000000 1000000 2000000 4 2\n"
        "1e-300 2e-300 0x1p-1074 127 127\n"
        "7000000 1000000 2000000 10 10\n";
    return input;
}

TEST(CallToolBatch, PrintsWhatTheEvaluatorPrints) {
    const auto eval = runCommand(quoted(GEOHARM_EVAL), records());
    ASSERT_EQ(eval.status, 0) << eval.err;
    for (const char* options : {"", "--nlhs 0", "--nlhs 3", "--class double", "--n-class int16 --m-class single",
                                "--nrhs 3 --nlhs 3"}) {
        SCOPED_TRACE(options);
        const auto call = runBatch(options, records());
        EXPECT_EQ(call.status, 0) << call.err;
        EXPECT_EQ(call.out, eval.out);
        EXPECT_EQ(call.err, "");
    }
}

TEST(CallToolBatch, FailuresEndWithTheirStatusAndMessage) {
    struct Case {
        const char* options;
        const char* input;
        int status;
        const char* out; /* the lines written before the failure */
        const char* err; /* the start of standard error */
    };
    const char* twoRuns = "7000000 1000000 2000000 0 0\n7000000 1000000 2000000 10 10\n";
    const Case cases[] = {
        {"--nlhs 2", twoRuns, 3, "",
         "geoharm_batch:nlhs: Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).\n"},
        {"--nrhs 2", twoRuns, 3, "", "geoharm_batch:nrhs: Not enough inputs: positions, N and M are needed.\n"},
        {"--nrhs 4 --nlhs 3", twoRuns, 3, "", "geoharm_batch:nrhs: Too many inputs: only positions, N and M are taken.\n"},
        {"--class char", twoRuns, 3, "", "geoharm_batch:degree: Input 2 (N, maximum degree) must be"},
        {"", "7000000 1000000 2000000 0 0\n1 2 3 4\n", 1, "-7.0314546606673858 -1.0044935229524836 -2.0089870459049672\n",
         "geoharm-call: line 2: expected 5 fields"},
        {"--position 3x2", twoRuns, 2, "", "usage:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto call = runBatch(c.options, c.input);
        EXPECT_EQ(call.status, c.status);
        EXPECT_EQ(call.out, c.out);
        EXPECT_EQ(call.err.rfind(c.err, 0), 0u) << call.err;
    }
}

TEST(CallToolGradient, PrintsWhatTheEvaluatorPrintsAndEndsWithTheStatusOfAFailure) {
    const auto eval = runCommand(quoted(GEOHARM_EVAL) + " --gradient", records());
    ASSERT_EQ(eval.status, 0) << eval.err;
    for (const char* options : {"", "--nlhs 3", "--class double", "--n-class int16 --m-class single --nrhs 3"}) {
        SCOPED_TRACE(options);
        const auto call = runBatch(options, records(), GEOHARM_GRADIENT_PLUGIN);
        EXPECT_EQ(call.status, 0) << call.err;
        EXPECT_EQ(call.out, eval.out);
        EXPECT_EQ(call.err, "");
    }
    struct Case {
        const char* options;
        int status;
        const char* err;
    };
    const char* twoRuns = "7000000 1000000 2000000 0 0\n7000000 1000000 2000000 10 10\n";
    const Case cases[] = {
        {"--nlhs 4", 3, "geoharm_gradient:nlhs: At most three outputs"},
        {"--nrhs 4", 3, "geoharm_gradient:nrhs: Three inputs are needed, and no more"},
        {"--nrhs 2", 3, "geoharm_gradient:nrhs: Three inputs are needed, and no more"},
        {"--class char", 3, "geoharm_gradient:degree: Input 2 (N, maximum degree) must be"},
        {"--nlhs 2", 2, "usage:"},
        {"--position 3x2", 2, "usage:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto call = runBatch(c.options, twoRuns, GEOHARM_GRADIENT_PLUGIN);
        EXPECT_EQ(call.status, c.status);
        EXPECT_EQ(call.out, "");
        EXPECT_EQ(call.err.rfind(c.err, 0), 0u) << call.err;
    }
    const auto bad = runBatch("", "7000000 1000000 2000000 0 0\n1 2 3 4\n", GEOHARM_GRADIENT_PLUGIN);
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, runCommand(quoted(GEOHARM_EVAL) + " --gradient", "7000000 1000000 2000000 0 0\n").out);
    EXPECT_EQ(bad.err.rfind("geoharm-call: line 2: expected 5 fields", 0), 0u) << bad.err;
}

}  // namespace
