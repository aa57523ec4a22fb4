/*
 * tool_run_windows.cpp - the Windows part of tool_run.h.  popen runs
 * "cmd.exe /c LINE", and cmd.exe removes the first and the last quote of a
 * line that starts with one: a further pair around the line keeps quoted
 * paths whole.  pclose returns the command's exit code itself.
 */
#include <process.h>

#include "tool_run.h"

namespace geoharm_test {

std::string shellLine(const std::string& line) { return "\"" + line + "\""; }

int exitStatus(int closed) { return closed; }

int processId() { return _getpid(); }

}  // namespace geoharm_test
