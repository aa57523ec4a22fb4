/*
 * tool_platform.h - the one place where the command-line tools differ by
 * operating system.
 *
 * readStandardInputAsBytes - puts standard input in binary mode, so that
 *   the tools read the same bytes from a file or pipe on every platform.
 *   The Windows C runtime opens it in text mode, where a 0x1A byte
 *   (Ctrl-Z) ends the input and CR LF pairs are folded: records after a
 *   Ctrl-Z would be lost without a word.  A console stays as it is: there
 *   Ctrl-Z is the key that ends typed input, as Ctrl-D is on a POSIX
 *   terminal.  POSIX systems make no difference between the two modes:
 *   nothing to do.  Call it before the first read.  Standard output keeps
 *   the platform's line ends.
 *
 * writeErrorNumber - the errno to report for a write to standard output
 *   that failed with `err` just now.  A pipe whose reader has gone is
 *   EPIPE ("Broken pipe") on POSIX systems; the Windows C runtime reports
 *   it as EINVAL, having no errno for the system's error (ERROR_NO_DATA,
 *   232, or ERROR_BROKEN_PIPE, 109, which it keeps in _doserrno): those
 *   are EPIPE here too, so the message says the same everywhere.
 *
 * argumentsAsUtf8 - the command line's arguments, argv[0] first, as
 *   UTF-8 (tool_platform.cpp).  POSIX systems pass a program its
 *   arguments as bytes, which are UTF-8 where file names are: argv as it
 *   is.  The Windows C runtime gives main its arguments in the process's
 *   ANSI code page, in which a character the page lacks turns into '?' (a
 *   file name could then not be opened): there they come from the wide
 *   command line (CommandLineToArgvW, which splits it as the C runtime
 *   does), turned into UTF-8; should that fail, argv as it is.
 */
#ifndef GEOHARM_TOOL_PLATFORM_H
#define GEOHARM_TOOL_PLATFORM_H

#include <cstdio>

#include <cerrno>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#endif

namespace geoharm {

inline void readStandardInputAsBytes() {
#if defined(_WIN32)
    if (!_isatty(_fileno(stdin))) _setmode(_fileno(stdin), _O_BINARY);
#endif
}

inline int writeErrorNumber(int err) {
#if defined(_WIN32)
    const unsigned long noData = 232, brokenPipe = 109;
    if (err == EINVAL && (_doserrno == noData || _doserrno == brokenPipe)) return EPIPE;
#endif
    return err;
}

std::vector<std::string> argumentsAsUtf8(int argc, char** argv);

}  // namespace geoharm

#endif
