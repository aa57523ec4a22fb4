/*
 * tool_run.h - running a command line with given standard input,
 * collecting standard output, standard error and the exit status.
 *
 * On POSIX systems /bin/sh runs the line (tests may use its syntax); on
 * Windows (under Wine too) the line starts its program directly, with no
 * shell between: a quoted program path and its arguments, nothing else.
 * The two are in tool_run_posix.cpp and tool_run_windows.cpp (library
 * geoharm_tool_run).
 */
#ifndef GEOHARM_TESTS_TOOL_RUN_H
#define GEOHARM_TESTS_TOOL_RUN_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace geoharm_test {

/* processId - this process's identifier (for unique file names). */
int processId();

/* setVariable - sets an environment variable of this process, or removes
   it when `value` is null. */
void setVariable(const char* name, const char* value);

/*
 * runLine - runs the command line `command` with standard input from the
 * file `inPath` and standard error into the file `errPath`, its standard
 * output read into `*out`; or, when `out` is null, into a pipe whose
 * reading end is closed already, as when the reader of a pipeline has gone
 * (SIGPIPE ignored on POSIX systems, so that a write fails with EPIPE
 * rather than ends the process).  Returns the exit status, or -1 when the
 * command did not exit normally or could not start.
 */
int runLine(const std::string& command, const std::string& inPath, const std::string& errPath, std::string* out);

/*
 * ScopedVariable - an environment variable set for the commands run while
 * it lives (they inherit this process's environment), then removed.
 */
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) { setVariable(name, value.c_str()); }
    ~ScopedVariable() { setVariable(name_, nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
};

struct ToolOutput {
    std::string out;
    std::string err;
    int status; /* exit status, or -1 when it did not exit normally */
};

/*
 * Runs `command` (a command line, as runLine takes it) with `input` on
 * standard input; with `closedOutput`, into a closed pipe (`out` stays
 * empty).
 */
inline ToolOutput runCommand(const std::string& command, const std::string& input = "", bool closedOutput = false) {
    const std::string dir = testing::TempDir();
    static int serial = 0;
    const std::string tag = std::to_string(processId()) + "_" + std::to_string(serial++);
    const std::string in = dir + "geoharm_tool_in_" + tag + ".txt";
    const std::string err = dir + "geoharm_tool_err_" + tag + ".txt";
    std::ofstream(in, std::ios::binary) << input;
    ToolOutput run;
    run.status = runLine(command, in, err, closedOutput ? nullptr : &run.out);
    std::ifstream e(err);
    run.err.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
    e.close();
    std::remove(in.c_str());
    std::remove(err.c_str());
    return run;
}

}  // namespace geoharm_test

#endif
