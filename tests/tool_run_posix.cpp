/*
 * tool_run_posix.cpp - the POSIX part of tool_run.h: /bin/sh takes the
 * command line as it is, and pclose returns a wait status.
 */
#include <sys/wait.h>
#include <unistd.h>

#include "tool_run.h"

namespace geoharm_test {

std::string shellLine(const std::string& line) { return line; }

int exitStatus(int closed) { return closed != -1 && WIFEXITED(closed) ? WEXITSTATUS(closed) : -1; }

int processId() { return static_cast<int>(getpid()); }

}  // namespace geoharm_test
