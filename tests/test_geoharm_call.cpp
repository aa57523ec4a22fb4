// geoharm-call from the outside: the plug-in called through the stand-in
// host prints the lines geoharm-eval prints, however the arguments are
// passed, and bad calls end with "identifier: message".
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tool_run.h"
#include "worked_examples.h"

namespace {

using geoharm_test::runCommand;

std::string quoted(const char* path) { return std::string("\"") + path + "\""; }

geoharm_test::ToolOutput runCall(const std::string& options, const std::string& input) {
    return runCommand(quoted(GEOHARM_CALL) + " " + quoted(GEOHARM_PLUGIN) + " " + options, input);
}

/* Records with every limit and odd value (signed zeros, origin, inf, NaN). */
std::string recordsAllLimits() {
    std::string input = "# x y z N M\n\n";
    input += geoharm_test::workedExampleRecords();
    input +=
        "0 0 0 10 10\n"
        "-0.0 -0.0 -0.0 4 4\n"
        "-0.0 0.0 6600000 -1 -1\n"
        "7000000 1000000 2000000 127 127\n"
        "7000000 1000000 2000000 -128 -128\n"
        "7000000 1000000 2000000 11 3\n"
        "7000000 1000000 2000000 5 -2\n"
        "7000000 1000000 2000000 3 9\n"
        "inf 0 0 10 10\n"
        "nan 1 1 10 10\n"
        "1e-300 2e-300 0x1p-1074 10 10\n"
        "1e200 1e200 1e200 10 10\n"
        "\t6378137\t0 0\t2 2 \n";
    return input;
}

/* The same, with non-negative limits only (unsigned classes keep them). */
std::string recordsNonNegativeLimits() {
    return "7000000 1000000 2000000 10 10\n"
           "7000000 1000000 2000000 0 0\n"
           "7000000 1000000 2000000 4 2\n"
           "4000000 -4000000 4000000 3 2\n"
           "7000000 1000000 2000000 127 11\n"
           "0 0 0 10 10\n"
           "-0.0 0 6600000 1 0\n";
}

TEST(CallTool, PrintsWhatTheEvaluatorPrints) {
    struct Case {
        const char* options;
        std::string input;
    };
    const Case cases[] = {
        {"", recordsAllLimits()},
        {"--nlhs 0", recordsAllLimits()},
        {"--nlhs 3", recordsAllLimits()},
        {"--position 1x3", recordsAllLimits()},
        {"--position 6x1", recordsAllLimits()},
        {"--class double", recordsAllLimits()},
        {"--class single", recordsAllLimits()},
        {"--class int16", recordsAllLimits()},
        {"--n-class int32 --m-class int64", recordsAllLimits()},
        {"--class uint8", recordsNonNegativeLimits()},
        {"--n-class uint16 --m-class uint32", recordsNonNegativeLimits()},
        {"--class uint64", recordsNonNegativeLimits()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto eval = runCommand(quoted(GEOHARM_EVAL), c.input);
        const auto call = runCall(c.options, c.input);
        ASSERT_EQ(eval.status, 0) << eval.err;
        EXPECT_EQ(call.status, 0) << call.err;
        EXPECT_EQ(call.out, eval.out);
        EXPECT_EQ(call.err, "");
    }
}

TEST(CallTool, OptionsBeforeOrAfterThePlugin) {
    // The same lines whichever side of the path the options are on; a
    // second path is a bad command line.
    const std::string input = recordsAllLimits();
    const auto eval = runCommand(quoted(GEOHARM_EVAL), input);
    for (const char* options : {"--nlhs 3", "--class double --fp-state upward", "--position 1x3 --nrhs 3"}) {
        SCOPED_TRACE(options);
        const auto before = runCommand(quoted(GEOHARM_CALL) + " " + options + " " + quoted(GEOHARM_PLUGIN), input);
        EXPECT_EQ(before.status, 0) << before.err;
        EXPECT_EQ(before.out, eval.out);
    }
    const auto split = runCommand(quoted(GEOHARM_CALL) + " --nlhs 3 " + quoted(GEOHARM_PLUGIN) + " --class int16", input);
    EXPECT_EQ(split.status, 0) << split.err;
    EXPECT_EQ(split.out, eval.out);
    const auto two = runCommand(quoted(GEOHARM_CALL) + " " + quoted(GEOHARM_PLUGIN) + " " + quoted(GEOHARM_PLUGIN), input);
    EXPECT_EQ(two.status, 2);
    EXPECT_EQ(two.err.find("usage:"), 0u) << two.err;
}

TEST(CallTool, ClassesThatChangeTheLimits) {
    // Negative limits become 0 in an unsigned class and 1 in logical; the
    // results are those of geoharm-eval given the converted limits.
    struct Case {
        const char* options;
        const char* input;
        const char* sameAs;
    };
    const Case cases[] = {
        {"--class uint8", "7000000 1000000 2000000 4 -2\n", "7000000 1000000 2000000 4 0\n"},
        {"--m-class uint16", "4000000 -4000000 4000000 3 -100\n", "4000000 -4000000 4000000 3 0\n"},
        {"--class logical", "7000000 1000000 2000000 4 -2\n", "7000000 1000000 2000000 1 1\n"},
        {"--m-class logical", "7000000 1000000 2000000 4 -2\n", "7000000 1000000 2000000 4 1\n"},
        {"--n-class logical", "7000000 1000000 2000000 0 9\n", "7000000 1000000 2000000 0 9\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto eval = runCommand(quoted(GEOHARM_EVAL), c.sameAs);
        const auto call = runCall(c.options, c.input);
        EXPECT_EQ(call.status, 0) << call.err;
        EXPECT_EQ(call.out, eval.out);
    }
}

TEST(CallTool, FailuresEndWithTheirStatusAndMessage) {
    struct Case {
        const char* options;
        const char* input;
        int status;
        int linesBefore;
        const char* err; /* the whole of standard error, or a part of it when partial */
        bool partial;
    };
    const char* two = "7000000 1000000 2000000 10 10\n7000000 1000000 2000000 4 2\n";
    const Case cases[] = {
        {"--nrhs 2", two, 3, 0, "geoharm:nrhs: Not enough inputs: position, N and M are needed.\n", false},
        {"--nrhs 0", two, 3, 0, "geoharm:nrhs: Not enough inputs: position, N and M are needed.\n", false},
        {"--nrhs 4", two, 3, 0, "geoharm:nrhs: Too many inputs: only position, N and M are taken.\n", false},
        {"--position 3x2", two, 3, 0,
         "geoharm:position: Input 1 (position) is a matrix: pass one point as a vector x, y, z, or many points to "
         "geoharm_batch, one per row.\n",
         false},
        {"--position 2x1", two, 3, 0,
         "geoharm:position: Input 1 (position) must be a real, non-sparse double array of at least three "
         "elements.\n",
         false},
        {"--position 0x0", two, 3, 0,
         "geoharm:position: Input 1 (position) must be a real, non-sparse double array of at least three "
         "elements.\n",
         false},
        {"--class char", two, 3, 0,
         "geoharm:degree: Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical "
         "array.\n",
         false},
        {"--m-class char", two, 3, 0,
         "geoharm:order: Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical "
         "array.\n",
         false},
        {"", "7000000 1000000 2000000 10 10\n7e6 1e6 2e6 4\n", 1, 1, "geoharm-call: line 2: expected 5 fields",
         true},
        {"", "7000000 1000000 2000000 300 10\n", 1, 0, "geoharm-call: line 1: N is not an integer", true},
        {"--class float", two, 2, 0, "usage:", true},
        {"--nlhs", two, 2, 0, "usage:", true},
        {"--position 3", two, 2, 0, "usage:", true},
        {"--frobnicate 1", two, 2, 0, "usage:", true},
        {"--fp-state sideways", two, 2, 0, "usage:", true},
        /* A refusal gives the caller its floating-point state back too
           (else status 5: the state after the call is checked). */
        {"--nrhs 2 --fp-state unmasked", two, 3, 0, "geoharm:nrhs: Not enough inputs: position, N and M are needed.\n",
         false},
        {"--m-class char --fp-state ftz-daz", two, 3, 0, "geoharm:order: Input 3 (M, maximum order) must be", true},
        {"--position 2x1 --fp-state towardzero", two, 3, 0, "geoharm:position: Input 1 (position) must be", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto call = runCall(c.options, c.input);
        EXPECT_EQ(call.status, c.status);
        int lines = 0;
        for (char ch : call.out) lines += ch == '\n';
        EXPECT_EQ(lines, c.linesBefore);
        if (c.partial) {
            EXPECT_NE(call.err.find(c.err), std::string::npos) << call.err;
        } else {
            EXPECT_EQ(call.err, c.err);
        }
    }

    const auto missing = runCommand(quoted(GEOHARM_CALL) + " /nonexistent/geoharm.mexa64", "1 2 3 4 5\n");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("geoharm-call: "), std::string::npos);
    const auto none = runCommand(quoted(GEOHARM_CALL), "");
    EXPECT_EQ(none.status, 2);
}

TEST(CallTool, ReadsAndWritesAsTheEvaluatorDoes) {
    // The record reader and the checked output are the evaluator's: a NUL
    // or a Ctrl-Z byte is malformed, a closed pipe is lost output.
    struct Case {
        std::string input;
        bool closedOutput;
        int status;
        const char* err; /* the start of standard error */
    };
    const std::string good = "7000000 1000000 2000000 10 10\n";
    const Case cases[] = {
        {good + std::string("7e6 1e6 2e6 10\0 10\n", 19), false, 1,
         "geoharm-call: line 2: N is not an integer in -128..127: '10\\x00'\n"},
        {good + "\x1a" + good, false, 1, "geoharm-call: line 2: x is not a number: '\\x1a7000000'\n"},
        {good, true, 4, "geoharm-call: cannot write standard output: Broken pipe\n"},
        {good + good + "x\n", true, 4, "geoharm-call: line 3: x is not a number: 'x'\ngeoharm-call: cannot write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        const auto call = runCommand(quoted(GEOHARM_CALL) + " " + quoted(GEOHARM_PLUGIN), c.input, c.closedOutput);
        EXPECT_EQ(call.status, c.status);
        EXPECT_EQ(call.err.find(c.err), 0u) << call.err;
    }
}

TEST(CallTool, ArgumentsTheHostCannotAllocateEndWithStatus2) {
    // 10^10 and 10^12 doubles: more than the memory here, or than a 32-bit
    // process can address at all.
    const char* const sizes[] = {"100000x100000", "1000000x1000000"};
    for (const char* size : sizes) {
        const auto call = runCall(std::string("--position ") + size, "7000000 1000000 2000000 10 10\n");
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.out, "");
        // (The sanitizers' allocator may say a word of its own before.)
        EXPECT_NE(call.err.find(std::string("geoharm-call: the host cannot allocate the arguments (position ") + size +
                                ")\n"),
                  std::string::npos)
            << call.err;
    }
}

TEST(CallTool, MissingFileIsToldApartFromOneThatDoesNotLoad) {
    const std::string folder = testing::TempDir().substr(0, testing::TempDir().size() - 1);
    const std::string text = folder + "/geoharm_not_a_plugin.txt";
    std::ofstream(text) << "7000000 1000000 2000000 10 10\n";
    struct Case {
        std::string path;
        std::string err; /* the start of standard error */
    };
    const Case cases[] = {
        {"/nonexistent/geoharm.mexa64", "geoharm-call: cannot load /nonexistent/geoharm.mexa64: no such file\n"},
        {text, "geoharm-call: cannot load " + text + ": not a library this system can load ("},
        {folder, "geoharm-call: cannot load " + folder + ": not a library this system can load ("},
    };
    for (const Case& c : cases) {
        const auto call = runCommand(quoted(GEOHARM_CALL) + " " + quoted(c.path.c_str()), "1 2 3 4 5\n");
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.err.find(c.err), 0u) << call.err;
    }
    std::remove(text.c_str());
}

}  // namespace
