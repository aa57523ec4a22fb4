/*
 * tool_run_windows.cpp - the Windows part of tool_run.h.  CreateProcess
 * starts the command line's program itself, with no cmd.exe between (one
 * process start per run instead of two: under Wine in an emulated
 * processor each start takes seconds): standard input and error are the
 * files opened here, standard output a pipe read to its end (or one whose
 * reading end is closed already).  The program parses the line as it
 * would from cmd.exe, which passes a line without its special characters
 * (none of & | < > ^ %) on unchanged.  Its output is read as text (CR LF
 * as LF), as popen's text-mode stream read it.  The exit status is the
 * process's exit code.
 */
#define WIN32_LEAN_AND_MEAN
#include <process.h>
#include <stdlib.h>
#include <windows.h>

#include "tool_run.h"

namespace geoharm_test {

namespace {

/* A handle the started process inherits: the file at `path`, read from
   its start, or written from empty. */
HANDLE openForChild(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int processId() { return _getpid(); }

void setVariable(const char* name, const char* value) { _putenv_s(name, value != nullptr ? value : ""); }

int runLine(const std::string& command, const std::string& inPath, const std::string& errPath, std::string* out) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) return -1;
    /* Only the writing end goes to the child: a reading end it held would
       keep the pipe open after this side closes its own. */
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    if (out == nullptr) {
        CloseHandle(readEnd);
        readEnd = nullptr;
    }
    const HANDLE in = openForChild(inPath, false);
    const HANDLE err = openForChild(errPath, true);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = in;
    start.hStdOutput = writeEnd;
    start.hStdError = err;
    std::string line = command; /* CreateProcessA may write into its line */
    PROCESS_INFORMATION process = {};
    const BOOL started = in != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                         CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    /* The child has its own copies now: its output ends when it exits. */
    CloseHandle(writeEnd);
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    if (readEnd != nullptr) {
        char buf[4096];
        DWORD got = 0;
        while (started && ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0) out->append(buf, got);
        CloseHandle(readEnd);
        /* Read as a text-mode stream reads it (as popen's did): each CR LF
           the program wrote is LF. */
        std::string text;
        for (std::size_t i = 0; i < out->size(); i++)
            if (!((*out)[i] == '\r' && i + 1 < out->size() && (*out)[i + 1] == '\n')) text += (*out)[i];
        out->swap(text);
    }
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return known ? static_cast<int>(code) : -1;
}

}  // namespace geoharm_test
