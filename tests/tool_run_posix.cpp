/*
 * tool_run_posix.cpp - the POSIX part of tool_run.h: /bin/sh takes the
 * command line as it is, and pclose returns a wait status.
 */
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "tool_run.h"

namespace geoharm_test {

std::string shellLine(const std::string& line) { return line; }

int exitStatus(int closed) { return closed != -1 && WIFEXITED(closed) ? WEXITSTATUS(closed) : -1; }

int processId() { return static_cast<int>(getpid()); }

void setVariable(const char* name, const char* value) {
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

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

}  // namespace geoharm_test
