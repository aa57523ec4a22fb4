// The tools' memory does not grow with their input (Linux): the batch
// modes (geoharm-eval --many, with --gradient too; geoharm-call with
// geoharm_batch or geoharm_gradient) take ten
// times the records in the same peak resident memory; with too little
// memory they end with status 6 after whole lines, never with a signal.
// Peak resident memory is the kernel's count for the child alone (wait4),
// so other processes on the machine do not change it; it includes what
// the child shared with this process before its exec, so this process
// holds no output while it measures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Measured {
    int status = -1;  /* exit status, or -1 for a signal */
    long peakKiB = 0; /* peak resident set */
    std::string out, err;
};

/* Runs argv with standard input from `input`, output to files (read into
   `out` and `err` with `keepOutput`, else dropped); with dataLimit, under
   that limit of the data segment (RLIMIT_DATA: the heap and private
   mappings, not the program's code). */
Measured run(const std::vector<std::string>& argv, const std::string& input, bool keepOutput,
             rlim_t dataLimit = RLIM_INFINITY) {
    const std::string base = testing::TempDir() + "geoharm_memory_" + std::to_string(getpid());
    const std::string out = base + ".out", err = base + ".err";
    Measured m;
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(input.c_str(), O_RDONLY);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || o < 0 || e < 0) _exit(126);
        dup2(in, 0);
        dup2(o, 1);
        dup2(e, 2);
        const rlimit limit{dataLimit, dataLimit};
        setrlimit(RLIMIT_DATA, &limit);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return m;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m.peakKiB = usage.ru_maxrss;
    if (keepOutput) {
        std::ifstream o(out), e(err);
        m.out.assign(std::istreambuf_iterator<char>(o), std::istreambuf_iterator<char>());
        m.err.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
    }
    std::remove(out.c_str());
    std::remove(err.c_str());
    return m;
}

/* A file of two records with N = M = 5, then `count` with N = M = 10: one
   long run, the case that held every record before. */
std::string recordsFile(long count) {
    /* The process id in the name: test runs of other builds may be writing
       theirs at the same time. */
    const std::string path = testing::TempDir() + "geoharm_memory_" + std::to_string(getpid()) + "_" +
                             std::to_string(count) + ".txt";
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "7000000 1000000 2000000 5 5\n6500000 0 1000000 5 5\n");
    for (long i = 0; i < count; i++) std::fprintf(f, "%ld 1000000 %ld 10 10\n", 7000000 + i % 1000, 2000000 - i % 777);
    std::fclose(f);
    return path;
}

struct Tool {
    const char* name;
    std::vector<std::string> argv;
};

std::vector<Tool> batchTools() {
    return {{"geoharm-eval --many", {GEOHARM_EVAL, "--many"}},
            {"geoharm-eval --many --gradient", {GEOHARM_EVAL, "--many", "--gradient"}},
            {"geoharm-call geoharm_batch", {GEOHARM_CALL, GEOHARM_BATCH_PLUGIN}},
            {"geoharm-call geoharm_batch --nlhs 3", {GEOHARM_CALL, GEOHARM_BATCH_PLUGIN, "--nlhs", "3"}},
            {"geoharm-call geoharm_gradient", {GEOHARM_CALL, GEOHARM_GRADIENT_PLUGIN}}};
}

TEST(ToolMemory, TenTimesTheRecordsInTheSamePeakMemory) {
    // Holding the 900,000 further records would take at least 29 MB (32
    // bytes each in geoharm-eval, three arrays of 24 in geoharm-call).
    const std::string small = recordsFile(100000), large = recordsFile(1000000);
    const long marginKiB = 4096;
    for (const Tool& t : batchTools()) {
        SCOPED_TRACE(t.name);
        const Measured a = run(t.argv, small, false), b = run(t.argv, large, false);
        ASSERT_EQ(a.status, 0);
        ASSERT_EQ(b.status, 0);
        EXPECT_LE(b.peakKiB, a.peakKiB + marginKiB) << "peak resident memory " << a.peakKiB << " KiB for 10^5 records, "
                                                    << b.peakKiB << " KiB for 10^6";
        std::printf("%s: peak resident memory %ld KiB for 10^5 records, %ld KiB for 10^6\n", t.name, a.peakKiB,
                    b.peakKiB);
    }
    std::remove(small.c_str());
    std::remove(large.c_str());
}

TEST(ToolMemory, TooLittleMemoryEndsWithStatus6AfterWholeLines) {
    // Data limits from 2 to 12 MiB: too little for the run storage of each
    // tool at some of them.  Each run ends with status 6 and its message
    // after a prefix of the lines, or completes; never a signal.
    const std::string input = recordsFile(200000);
    for (const Tool& t : batchTools()) {
        SCOPED_TRACE(t.name);
        const Measured full = run(t.argv, input, true);
        ASSERT_EQ(full.status, 0) << full.err;
        int shortOfMemory = 0;
        for (rlim_t mib = 2; mib <= 12; mib += 2) {
            SCOPED_TRACE(std::to_string(mib) + " MiB");
            const Measured m = run(t.argv, input, true, mib << 20);
            ASSERT_TRUE(m.status == 0 || m.status == 6) << "status " << m.status << ": " << m.err;
            EXPECT_EQ(full.out.compare(0, m.out.size(), m.out), 0) << "not a prefix of the lines";
            EXPECT_TRUE(m.out.empty() || m.out.back() == '\n');
            if (m.status == 6) {
                shortOfMemory++;
                EXPECT_TRUE(m.err.find("out of memory") != std::string::npos ||
                            m.err.find("host:nomem: Out of memory") != std::string::npos)
                    << m.err;
            } else {
                EXPECT_EQ(m.out, full.out);
            }
        }
        EXPECT_GT(shortOfMemory, 0) << "no limit was too low: the failure was not tried";
    }
    std::remove(input.c_str());
}

}  // namespace
