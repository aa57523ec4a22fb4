/*
 * tool_run_windows.cpp - the Windows part of tool_run.h.  popen runs
 * "cmd.exe /c LINE", and cmd.exe removes the first and the last quote of a
 * line that starts with one: a further pair around the line keeps quoted
 * paths whole.  pclose returns the command's exit code itself.  A pipe
 * whose reading end is closed: CreatePipe, and cmd.exe started on it.
 */
#define WIN32_LEAN_AND_MEAN
#include <process.h>
#include <stdlib.h>
#include <windows.h>

#include "tool_run.h"

namespace geoharm_test {

std::string shellLine(const std::string& line) { return "\"" + line + "\""; }

int exitStatus(int closed) { return closed; }

int processId() { return _getpid(); }

void setVariable(const char* name, const char* value) { _putenv_s(name, value != nullptr ? value : ""); }

int runIntoClosedPipe(const std::string& line) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) return -1;
    CloseHandle(readEnd);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = writeEnd;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "cmd.exe /c " + line;
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    CloseHandle(writeEnd);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return known ? static_cast<int>(code) : -1;
}

}  // namespace geoharm_test
