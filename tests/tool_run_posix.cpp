/*
 * tool_run_posix.cpp - the POSIX part of tool_run.h: /bin/sh runs the
 * command line as it is, with the redirections appended, and the exit
 * status comes from the child's wait status.
 */
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "tool_run.h"

namespace geoharm_test {

namespace {

int exitStatus(int waited) { return waited != -1 && WIFEXITED(waited) ? WEXITSTATUS(waited) : -1; }

/* Runs `line` by /bin/sh with standard output a pipe whose reading end is
   closed already. */
int runIntoClosedPipe(const std::string& line) {
    int ends[2];
    if (pipe(ends) != 0) return -1;
    close(ends[0]);
    const pid_t child = fork();
    if (child == 0) {
        /* Ignored signals stay ignored across exec, into the command. */
        std::signal(SIGPIPE, SIG_IGN);
        dup2(ends[1], STDOUT_FILENO);
        close(ends[1]);
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return exitStatus(status);
}

}  // namespace

int processId() { return static_cast<int>(getpid()); }

void setVariable(const char* name, const char* value) {
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

int runLine(const std::string& command, const std::string& inPath, const std::string& errPath, std::string* out) {
    const std::string line = command + " < \"" + inPath + "\" 2> \"" + errPath + "\"";
    if (out == nullptr) return runIntoClosedPipe(line);
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) out->append(buf, got);
    return exitStatus(pclose(pipe));
}

}  // namespace geoharm_test
