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

/* Runs geoharm-eval on `input` through the shell. */
ToolRun runEval(const std::string& input) {
    return geoharm_test::runCommand(std::string("\"") + GEOHARM_EVAL + "\"", input);
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
    for (const Case& c : cases) {
        const ToolRun run = runEval(c.input);
        EXPECT_NE(run.status, 0) << c.input;
        int lines = 0;
        for (char ch : run.out) lines += ch == '\n';
        EXPECT_EQ(lines, c.goodLines) << c.input;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << "stderr: " << run.err;
    }
}
