/*
 * tool_run.h - running a command through the shell with given standard
 * input, collecting standard output, standard error and the exit status.
 *
 * The shell is the one popen starts: /bin/sh on POSIX systems, cmd.exe on
 * Windows (under Wine too).  What differs between them, the quoting of the
 * command line and the meaning of pclose's result, is in
 * tool_run_posix.cpp and tool_run_windows.cpp (library geoharm_tool_run).
 */
#ifndef GEOHARM_TESTS_TOOL_RUN_H
#define GEOHARM_TESTS_TOOL_RUN_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace geoharm_test {

/* shellLine - `line` in the form popen's shell runs as it stands. */
std::string shellLine(const std::string& line);

/* exitStatus - the exit status from pclose's result; -1 when the command
   did not exit normally. */
int exitStatus(int closed);

/* processId - this process's identifier (for unique file names). */
int processId();

/* setVariable - sets an environment variable of this process, or removes
   it when `value` is null. */
void setVariable(const char* name, const char* value);

/*
 * runIntoClosedPipe - runs `line` (a shellLine) through the same shell
 * with standard output a pipe whose reading end is closed already, as
 * when the reader of a pipeline has gone; SIGPIPE ignored on POSIX
 * systems, so that a write fails (EPIPE) rather than ends the process.
 * Returns the exit status, or -1.
 */
int runIntoClosedPipe(const std::string& line);

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
 * Runs `command` (a shell command line) with `input` on standard input;
 * with `closedOutput`, into a closed pipe (runIntoClosedPipe: `out` stays
 * empty).
 */
inline ToolOutput runCommand(const std::string& command, const std::string& input = "", bool closedOutput = false) {
    const std::string dir = testing::TempDir();
    static int serial = 0;
    const std::string tag = std::to_string(processId()) + "_" + std::to_string(serial++);
    const std::string in = dir + "geoharm_tool_in_" + tag + ".txt";
    const std::string err = dir + "geoharm_tool_err_" + tag + ".txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string cmd = shellLine(command + " < \"" + in + "\" 2> \"" + err + "\"");
    ToolOutput run;
    if (closedOutput) {
        run.status = runIntoClosedPipe(cmd);
    } else {
        FILE* pipe = popen(cmd.c_str(), "r");
        char buf[4096];
        std::size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, got);
        run.status = exitStatus(pclose(pipe));
    }
    std::ifstream e(err);
    run.err.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
    e.close();
    std::remove(in.c_str());
    std::remove(err.c_str());
    return run;
}

}  // namespace geoharm_test

#endif
