/*
 * tool_run.h - running a command through the shell with given standard
 * input, collecting standard output, standard error and the exit status.
 */
#ifndef GEOHARM_TESTS_TOOL_RUN_H
#define GEOHARM_TESTS_TOOL_RUN_H

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace geoharm_test {

struct ToolOutput {
    std::string out;
    std::string err;
    int status; /* exit status, or -1 when it did not exit normally */
};

/* Runs `command` (a shell command line) with `input` on standard input. */
inline ToolOutput runCommand(const std::string& command, const std::string& input = "") {
    const std::string dir = testing::TempDir();
    static int serial = 0;
    const std::string tag = std::to_string(getpid()) + "_" + std::to_string(serial++);
    const std::string in = dir + "geoharm_tool_in_" + tag + ".txt";
    const std::string err = dir + "geoharm_tool_err_" + tag + ".txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string cmd = command + " < \"" + in + "\" 2> \"" + err + "\"";
    FILE* pipe = popen(cmd.c_str(), "r");
    ToolOutput run;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, got);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream e(err);
    run.err.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
    std::remove(in.c_str());
    std::remove(err.c_str());
    return run;
}

}  // namespace geoharm_test

#endif
