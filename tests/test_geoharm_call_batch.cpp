// geoharm-call with the batch and the gradient plug-ins, from the outside:
// runs of records with the same N and M, one call each, print what
// geoharm-eval prints (with --gradient for the gradient plug-in); a refused
// call ends with "identifier: message" after the lines of the runs before
// it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

/* A copy of the plug-in file at `from` named `name` plus its extension,
   in a folder of its own (within one of this process's own). */
std::string renamedCopy(const std::string& from, const std::string& name) {
    static int copies = 0;
    const std::string folder = testing::TempDir() + "geoharm_renamed_" + std::to_string(geoharm_test::processId()) +
                               "/" + std::to_string(copies++);
    std::filesystem::create_directories(folder);
    const std::string to = folder + "/" + name + from.substr(from.rfind('.'));
    std::ifstream in(from, std::ios::binary);
    std::ofstream(to, std::ios::binary) << in.rdbuf();
    return to;
}

TEST(CallTool, APluginThatIsNotOfTheKindItsNameSaysIsCaught) {
    // The mode comes from the file name; what the other plug-in gives back
    // is refused before a value is read (status 2), or the plug-in itself
    // refuses the arguments (status 3).  Never a line of other memory.
    const std::string geoharmAsBatch = renamedCopy(GEOHARM_PLUGIN, "geoharm_batch");
    const std::string batchAsGeoharm = renamedCopy(GEOHARM_BATCH_PLUGIN, "geoharm");
    const std::string gradientAsBatch = renamedCopy(GEOHARM_GRADIENT_PLUGIN, "geoharm_batch");
    const std::string batchAsGradient = renamedCopy(GEOHARM_BATCH_PLUGIN, "geoharm_gradient");
    const std::string one = "7000000 1000000 2000000 10 10\n";
    const std::string three = one + "6500000 0 1000000 10 10\n0 0 7000000 10 10\n";
    struct Case {
        const std::string& plugin;
        const char* options;
        const std::string& input;
        int status;
        const char* err; /* the start of standard error */
    };
    const Case cases[] = {
        {geoharmAsBatch, "", three, 3, "geoharm:position: Input 1 (position) is a matrix"},
        {geoharmAsBatch, "", one, 2,
         "geoharm-call: line 1: output 1 is a 3-by-1 double array, where a batch plug-in (geoharm_batch.*) gives a "
         "real 1-by-3 double array\n"},
        {geoharmAsBatch, "--nlhs 3", three, 3, "geoharm:position: Input 1 (position) is a matrix"},
        {geoharmAsBatch, "--nlhs 3", one, 2, "geoharm-call: line 1: output 1 is a 3-by-1 double array, where a batch"},
        {geoharmAsBatch, "--nlhs 0", one, 2, "geoharm-call: line 1: output 1 is a 3-by-1 double array"},
        {batchAsGeoharm, "", one, 2,
         "geoharm-call: line 1: output 1 is a 1-by-3 double array, where geoharm gives a real 3-by-1 double array\n"},
        {batchAsGeoharm, "--position 1x3", three, 2,
         "geoharm-call: line 1: output 1 is a 1-by-3 double array, where geoharm gives a real 3-by-1 double array\n"},
        {gradientAsBatch, "", three, 2,
         "geoharm-call: line 3: output 1 is a 3-by-3-by-3 double array, where a batch plug-in (geoharm_batch.*) "
         "gives a real 3-by-3 double array\n"},
        {gradientAsBatch, "--nlhs 3", one, 2, "geoharm-call: line 1: output 1 is a 3-by-3 double array, where a batch"},
        {batchAsGradient, "", three, 2,
         "geoharm-call: line 3: output 1 is a 3-by-1 double array, where a gradient plug-in (geoharm_gradient.*) "
         "gives a real 3-by-3-by-3 double array\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plugin + " " + c.options);
        const auto call = runCommand(quoted(GEOHARM_CALL) + " " + quoted(c.plugin.c_str()) + " " + c.options, c.input);
        EXPECT_EQ(call.status, c.status);
        EXPECT_EQ(call.out, "");
        EXPECT_EQ(call.err.find(c.err), 0u) << call.err;
    }
    std::filesystem::remove_all(std::filesystem::path(geoharmAsBatch).parent_path().parent_path());
}

TEST(CallToolMemory, AnArrayTheHostCannotCreateEndsWithStatus6AfterTheLinesBefore) {
    // The host's K-th array fails (GEOHARM_HOST_FAIL_ALLOCATION), as when
    // memory runs out: an output the plug-in asks for is the host's error,
    // an argument is the tool's; either way the lines of the records
    // before are written, then the message, and the status is 6.  Each
    // call makes its three arguments, then its outputs: geoharm_batch's
    // second run (three records) starts at array 5, the fourth geoharm call
    // at array 13.
    const std::string input =
        "7000000 1000000 2000000 5 5\n6500000 0 1000000 5 5\n"
        "7000000 1000000 2000000 10 10\n6500000 0 1000000 10 10\n0 0 7000000 10 10\n";
    struct Case {
        const char* plugin;
        const char* options;
        int failing;
        int lines;       /* written before the failure */
        const char* err; /* the start of standard error */
    };
    const Case cases[] = {
        {GEOHARM_BATCH_PLUGIN, "", 8, 2, "host:nomem: Out of memory: cannot create a 3-by-3 double array (72 bytes).\n"},
        {GEOHARM_BATCH_PLUGIN, "--nlhs 3", 12, 2, "host:nomem: Out of memory: cannot create a 3-by-1 double array (24 bytes).\n"},
        {GEOHARM_BATCH_PLUGIN, "", 5, 2, "geoharm-call: out of memory: the host cannot create the arguments"},
        {GEOHARM_PLUGIN, "", 16, 3, "host:nomem: Out of memory: cannot create a 3-by-1 double array (24 bytes).\n"},
        {GEOHARM_PLUGIN, "--nlhs 3", 15, 3, "geoharm-call: out of memory: the host cannot create the arguments"},
    };
    const auto eval = runCommand(quoted(GEOHARM_EVAL), input);
    ASSERT_EQ(eval.status, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.plugin) + " " + c.options + ", array " + std::to_string(c.failing));
        const geoharm_test::ScopedVariable failing("GEOHARM_HOST_FAIL_ALLOCATION", std::to_string(c.failing));
        const auto call = runCommand(quoted(GEOHARM_CALL) + " " + quoted(c.plugin) + " " + c.options, input);
        EXPECT_EQ(call.status, 6);
        std::size_t end = 0;
        for (int i = 0; i < c.lines; i++) end = eval.out.find('\n', end) + 1;
        EXPECT_EQ(call.out, eval.out.substr(0, end));
        EXPECT_EQ(call.err.find(c.err), 0u) << call.err;
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
