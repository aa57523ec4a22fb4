// The command-line evaluator from the outside: records in, lines out,
// malformed records reported with their line numbers.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(EvalTool, BitsOptionWritesEachDoublesBits) {
    // The bits of the doubles the decimal lines spell, through both paths:
    // a NaN as the default NaN, -0.0 and infinities with their own bits.
    const std::string input = geoharm_test::workedExampleRecords() +
                              "0 0 0 10 10\n-0.0 0.0 6600000 -1 -1\ninf 0 7e6 10 10\n1e-150 0 0 0 0\n";
    const ToolRun decimal = runEval(input);
    ASSERT_EQ(decimal.status, 0) << decimal.err;
    std::string want;
    const char* p = decimal.out.c_str();
    for (char* end; *p != '\0'; p = end) {
        const double v = std::strtod(p, &end);
        ASSERT_NE(end, p) << decimal.out;
        const unsigned long long b = v == v ? geoharm_test::bitsOf(v) : 0x7FF8000000000000u;
        char bits[24];
        std::snprintf(bits, sizeof bits, "%016llX%c", b, *end);
        want += bits;
        end++;
    }
    for (const char* options : {" --bits", " --many --bits", " --bits --many"}) {
        const ToolRun run = runEval(input, options);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, want) << options;
    }
    EXPECT_EQ(runEval(input, " --bits --bits").status, 2);
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

TEST(EvalTool, GradientLinesHoldThePotentialTheAccelerationAndTheTensor) {
    /* --gradient: "U a_x a_y a_z" and the tensor row by row, the worked
       gradients' bits, the acceleration that of the plain run; the same
       lines with --many (either order of the options), special positions
       and mixed limits among the records. */
    std::string input;
    for (const auto& w : geoharm_test::GRADIENT_EXAMPLES) {
        char line[200];
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g %d %d\n", w.x, w.y, w.z, w.n, w.m);
        input += line;
    }
    const ToolRun gradient = runEval(input, " --gradient");
    const ToolRun acceleration = runEval(input);
    ASSERT_EQ(gradient.status, 0) << gradient.err;
    const char* p = gradient.out.c_str();
    const char* q = acceleration.out.c_str();
    for (const auto& w : geoharm_test::GRADIENT_EXAMPLES) {
        double v[13];
        for (double& value : v) {
            char* end;
            value = std::strtod(p, &end);
            ASSERT_NE(end, p) << "output ends early: " << gradient.out;
            p = end;
        }
        ASSERT_EQ(*p++, '\n');
        EXPECT_SAME_BITS(v[0], w.U);
        for (int i = 0; i < 3; i++) {
            char* end;
            EXPECT_SAME_BITS(v[1 + i], std::strtod(q, &end));
            q = end;
        }
        q++;
        const double* T = v + 4;
        const double want[9] = {w.t[0], w.t[3], w.t[4], w.t[3], w.t[1], w.t[5], w.t[4], w.t[5], w.t[2]};
        for (int i = 0; i < 9; i++) EXPECT_SAME_BITS(T[i], want[i]) << "T[" << i << "]";
    }
    EXPECT_EQ(*p, '\0');

    input += "0 0 0 10 10\nnan 1 2 4 4\n-0.0 0.0 6600000 -1 -1\n7e6 1e6 2e6 3 1\n";
    const ToolRun one = runEval(input, " --gradient");
    ASSERT_EQ(one.status, 0) << one.err;
    for (const char* options : {" --gradient --many", " --many --gradient"}) {
        const ToolRun many = runEval(input, options);
        EXPECT_EQ(many.status, 0) << many.err;
        EXPECT_EQ(many.out, one.out) << options;
    }
    EXPECT_NE(one.out.find("\nnan nan nan nan nan nan nan nan nan nan nan nan nan\n"), std::string::npos);
    /* Options given twice or unknown: a usage error; a malformed record
       after the lines before it. */
    EXPECT_EQ(runEval("", " --gradient --gradient").status, 2);
    EXPECT_EQ(runEval("", " --gradient --bad").status, 2);
    for (const char* options : {" --gradient", " --gradient --many"}) {
        const ToolRun bad = runEval("7e6 1e6 2e6 10 10\n7e6 1e6 2e6 10\n", options);
        EXPECT_EQ(bad.status, 1);
        EXPECT_EQ(bad.out, one.out.substr(0, one.out.find('\n') + 1));
        EXPECT_NE(bad.err.find("line 2: expected 5 fields"), std::string::npos) << bad.err;
    }
}

namespace {

/* `count` copies of the first worked example, one a line. */
std::string manyRecords(int count) {
    std::string input;
    for (int i = 0; i < count; i++) input += "7000000 1000000 2000000 10 10\n";
    return input;
}

}  // namespace

TEST(EvalTool, OutputThatCannotBeWrittenEndsWithStatus4) {
    struct Case {
        const char* where;
        const char* redirect; /* appended to the command; nullptr: a closed pipe */
        int records;
    };
    const Case cases[] = {
        {"closed pipe, one record", nullptr, 1},
        {"closed pipe, 100000 records", nullptr, 100000},
#if !defined(_WIN32)
        {"closed standard output", " >&-", 1},
#endif
#if defined(__linux__)
        {"full device, one record", " > /dev/full", 1},
        {"full device, 100000 records", " > /dev/full", 100000},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const std::string command = std::string("\"") + GEOHARM_EVAL + "\"" + (c.redirect ? c.redirect : "");
        const ToolRun run = geoharm_test::runCommand(command, manyRecords(c.records), c.redirect == nullptr);
        EXPECT_EQ(run.status, 4);
        EXPECT_EQ(run.err.find("geoharm-eval: cannot write standard output: "), 0u) << run.err;
        // A closed pipe reads the same on every system: the reader went away.
        if (c.redirect == nullptr) {
            EXPECT_EQ(run.err, "geoharm-eval: cannot write standard output: Broken pipe\n");
        }
    }
}

TEST(EvalTool, EveryByteCountsTheSameOnEveryPlatform) {
    // Bytes a C string or a text-mode stream would lose: each makes its
    // record malformed, shown escaped in the reason.
    struct Case {
        std::string input;
        int goodLines;
        const char* message;
    };
    const std::string good = "7e6 1e6 2e6 10 10\n";
    const Case cases[] = {
        {good + std::string("7e6\0junk 1e6 2e6 10 10\n", 23), 1, "line 2: x is not a number: '7e6\\x00junk'"},
        {std::string("7e6 1e6 2e6 10\0""99 10\n", 21), 0, "line 1: N is not an integer in -128..127: '10\\x0099'"},
        {good + "\x1a" + good + good, 1, "line 2: x is not a number: '\\x1a7e6'"},
        {good + "7e6 1e6 2e6 10 10\x1a\n", 1, "line 2: M is not an integer in -128..127: '10\\x1a'"},
        {good + "\v7e6 1e6 2e6 10 10\n", 1, "line 2: x is not a number: '\\x0b7e6'"},
        {good + "\xEF\xBB\xBF" + good, 1, "line 2: x is not a number: '\\xef\\xbb\\xbf7e6'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolRun run = runEval(c.input);
        EXPECT_EQ(run.status, 1);
        int lines = 0;
        for (char ch : run.out) lines += ch == '\n';
        EXPECT_EQ(lines, c.goodLines);
        EXPECT_EQ(run.err, std::string("geoharm-eval: ") + c.message + "\n");
    }
}

TEST(EvalTool, ByteOrderMarkAndLineEndsReadAsPlainText) {
    const std::string plain = "7e6 1e6 2e6 10 10\n-6.5e6 2.5e6 -1.5e6 4 4\n";
    const std::string variants[] = {
        "\xEF\xBB\xBF" + plain,
        "7e6 1e6 2e6 10 10\r\n-6.5e6 2.5e6 -1.5e6 4 4\r\n",
        "7e6 1e6 2e6 10 10\n-6.5e6 2.5e6 -1.5e6 4 4",
        "\xEF\xBB\xBF\r\n# comment\r\n" + plain,
    };
    const ToolRun want = runEval(plain);
    ASSERT_EQ(want.status, 0) << want.err;
    for (const std::string& input : variants) {
        const ToolRun run = runEval(input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, want.out);
    }
}

TEST(EvalTool, LongFieldsAndLinesAreReportedBriefly) {
    struct Case {
        std::string input;
        const char* message;
    };
    const Case cases[] = {
        {"7e6 " + std::string(100000, '1') + "x 2e6 10 10\n",
         "geoharm-eval: line 1: y is not a number: '1111111111111111111111111111111111111111'... (100001 bytes)\n"},
        {"7e6 1e6 2e6 10 " + std::string(3000000, '7') + "\n",
         "geoharm-eval: line 1: longer than 1048576 bytes\n"},
        {"# " + std::string(1048575, '#') + "\n", "geoharm-eval: line 1: longer than 1048576 bytes\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = runEval(c.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.message);
    }
    // A line of exactly the longest length is read, whatever ends it: the
    // limit counts the line's content, not a CR before its LF.
    const std::string longest = "7e6 1e6 2e6 10 10" + std::string(1048576 - 17, ' ');
    const std::string next = "0 0 7e6 2 2\n";
    for (const std::string& input : {longest + "\n" + next, longest + "\r\n" + next, longest, longest + "\r"}) {
        const ToolRun run = runEval(input);
        EXPECT_EQ(run.status, 0) << run.err.substr(0, 200);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), input.size() > longest.size() + 1 ? 2 : 1);
    }
    // One byte more is too long, a CR included where no LF follows it.
    for (const char* end : {" \n", " \r\n", "\r\r\n", "\rx\n"}) {
        const ToolRun run = runEval(longest + end);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "geoharm-eval: line 1: longer than 1048576 bytes\n");
    }
}

#if !defined(_WIN32)
TEST(EvalTool, InputThatCannotBeReadEndsWithStatus4) {
    // A folder as standard input: the first read fails (EISDIR).
    const ToolRun run = geoharm_test::runCommand(std::string("{ \"") + GEOHARM_EVAL + "\" < /; }");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err.find("geoharm-eval: cannot read standard input: "), 0u) << run.err;
}
#endif
