// The command-line evaluator from the outside: records in, lines out,
// malformed records reported with their line numbers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bits.h"
#include "tool_run.h"
#include "worked_examples.h"

namespace {

using ToolRun = geoharm_test::ToolOutput;

/* Runs geoharm-eval with `options` on `input` through the shell. */
ToolRun runEval(const std::string& input, const char* options = "") {
    return geoharm_test::runCommand(std::string("\"") + GEOHARM_EVAL + "\"" + options, input);
}

}  // namespace

TEST(EvalTool, WorkedExamplesRoundTripThroughText) {
    std::string input = "# x y z N M\n\n";
    for (const auto& w : geoharm_test::WORKED_EXAMPLES) {
        char line[200];
        std::snprintf(line, sizeof line, "%.17g %.17g\t%.17g %d %d\n", w.x, w.y, w.z, w.n, w.m);
        input += line;
    }
    const ToolRun run = runEval(input);
    ASSERT_EQ(run.status, 0) << run.err;
    const char* p = run.out.c_str();
    for (const auto& w : geoharm_test::WORKED_EXAMPLES) {
        char* end;
        const double want[3] = {w.ax, w.ay, w.az};
        for (double v : want) {
            const double got = std::strtod(p, &end);
            ASSERT_NE(end, p) << "output ends early: " << run.out;
            EXPECT_SAME_BITS(got, v);
            p = end;
        }
        ASSERT_EQ(*p, '\n');
        p++;
    }
    EXPECT_EQ(*p, '\0');
}

TEST(EvalTool, SpecialValuesPrintTheSameEverywhere) {
    const ToolRun run = runEval("0 0 0 10 10\n-0.0 0.0 6600000 -1 -1\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "nan nan nan");
}

TEST(EvalTool, MalformedRecordStopsWithItsLineNumber) {
    struct Case {
        const char* input;
        int goodLines;
        const char* message;
    };
    const Case cases[] = {
        {"7e6 1e6 2e6 10 10\n7e6 1e6 2e6 10\n", 1, "line 2: expected 5 fields"},
        {"7e6 1e6 2e6 10 10 5\n", 0, "line 1: expected 5 fields"},
        {"# c\n7e6 1e6 2e6 10 10\n7e6 1e6 2e6 10 10\nseven 1e6 2e6 1 1\n", 2, "line 4: x is not a number"},
        {"7e6 1e6 2e6 128 0\n", 0, "line 1: N is not an integer in -128..127"},
        {"7e6 1e6 2e6 4 2.5\n", 0, "line 1: M is not an integer"},
        {"7e6 1e999 2e6 4 2\n", 0, "line 1: y is not a number"},
    };
    /* The same with --many, which evaluates the records read before the
       malformed one and prints their lines first. */
    for (const char* options : {"", " --many"})
        for (const Case& c : cases) {
            const ToolRun run = runEval(c.input, options);
            EXPECT_NE(run.status, 0) << c.input << options;
            int lines = 0;
            for (char ch : run.out) lines += ch == '\n';
            EXPECT_EQ(lines, c.goodLines) << c.input << options;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << "stderr: " << run.err;
        }
}

TEST(EvalTool, ManyOptionGivesTheSameLinesInTheSameOrder) {
    /* Records of several N and M interleaved: grouped for the many-point
       calls, printed in the input's order. */
    std::string input;
    for (int i = 0; i < 40; i++) {
        char line[120];
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g %d %d\n", 7.0e6 - 1.0e5 * i, 1.0e6 * (i % 7),
                      -2.5e6 + 3.0e5 * i, 10 - i % 3, i % 5 - 1);
        input += line;
    }
    input += "0 0 0 10 10\nnan 1 2 4 4\n";
    const ToolRun one = runEval(input);
    const ToolRun many = runEval(input, " --many");
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(many.out, one.out);
    EXPECT_NE(runEval("", " --bad").status, 0);
}
