/*
 * tool_exit.cpp - the end of a tool's run (tool_exit.h).
 */
#include "tool_exit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tool_platform.h"

namespace geoharm {

bool ResultOutput::write(const double* values, int count) {
    if (writeResult(stdout, values, count, format_)) return true;
    writeErrno_ = writeErrorNumber(errno);
    return false;
}

int ResultOutput::finish(int status) {
    /* Buffered lines go out now; a write that failed earlier stays flagged
       on the stream even when nothing is left to flush. */
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    int reason = flushed ? writeErrno_ : writeErrorNumber(errno);
    bool good = flushed && std::ferror(stdout) == 0;
    /* Closing may report a late failure too (a file system that writes on
       close). */
    errno = 0;
    if (std::fclose(stdout) != 0 && good) {
        good = false;
        reason = writeErrorNumber(errno);
    }
    if (good) return status;
    std::fprintf(stderr, "%s: cannot write standard output: %s\n", tool_,
                 reason != 0 ? std::strerror(reason) : "write error");
    return STATUS_IO;
}

int readEndStatus(const char* tool, ReadStatus read, const RecordReader& reader, const std::string& why) {
    switch (read) {
        case ReadStatus::Malformed:
            std::fprintf(stderr, "%s: line %ld: %s\n", tool, reader.lineNumber(), why.c_str());
            return STATUS_MALFORMED;
        case ReadStatus::InputError:
            std::fprintf(stderr, "%s: cannot read standard input: %s\n", tool, why.c_str());
            return STATUS_IO;
        case ReadStatus::Record:
        case ReadStatus::End:
            break;
    }
    return STATUS_DONE;
}

int outOfMemory(const char* tool, const char* what) {
    std::fflush(stdout);
    if (what != nullptr)
        std::fprintf(stderr, "%s: out of memory: %s\n", tool, what);
    else
        std::fprintf(stderr, "%s: out of memory\n", tool);
    return STATUS_NO_MEMORY;
}

}  // namespace geoharm
