/*
 * tool_exit.h - how the command-line tools end: their exit statuses, their
 * standard output written and checked to the end, and the report of the
 * record reader's last outcome.  The same for geoharm-eval and geoharm-call.
 *
 * Exit statuses:
 *   0  every record read and its line written
 *   1  a malformed record (reported as "TOOL: line K: reason")
 *   2  a bad command line, a model file that does not load
 *      (geoharm-eval --model: before any record is read), a plug-in file
 *      that does not load, arguments the host cannot allocate
 *      (geoharm-call --position), or a plug-in whose outputs are not those
 *      of the kind its file name says (geoharm-call: "TOOL: line K:
 *      output ...")
 *   3  the plug-in ended a call with an error (geoharm-call)
 *   4  standard input could not be read or standard output could not be
 *      written (reported as "TOOL: cannot read standard input: reason" or
 *      "TOOL: cannot write standard output: reason"); results are missing
 *   5  a plug-in call left the caller's floating-point state changed
 *      (geoharm-call --fp-state)
 *   6  memory ran out: the host could not create an array a plug-in asked
 *      for ("host:nomem: message") or a call's arguments
 *      (geoharm-call), or the tool its own storage ("TOOL: out of
 *      memory ...")
 * Status 4 wins over the others: with those, the lines of the records
 * before the failing one are all out.
 */
#ifndef GEOHARM_TOOL_EXIT_H
#define GEOHARM_TOOL_EXIT_H

#include <string>

#include "record_io.h"

namespace geoharm {

enum ToolStatus : int {
    STATUS_DONE = 0,
    STATUS_MALFORMED = 1,
    STATUS_USAGE = 2,
    STATUS_PLUGIN_ERROR = 3,
    STATUS_IO = 4,
    STATUS_FP_STATE = 5,
    STATUS_NO_MEMORY = 6,
};

/*
 * ResultOutput - the result lines of a tool on standard output.
 *
 * write()   one result line of `count` values (3: an acceleration), in
 *           the output's number format; false when it could not be
 *           written (stop then: finish() reports it)
 * finish()  flushes and closes standard output; returns `status` when
 *           everything written got out, else prints why on standard error
 *           and returns STATUS_IO.  Nothing may be written after it.
 */
class ResultOutput {
public:
    explicit ResultOutput(const char* tool, NumberFormat format = NumberFormat::Decimal)
        : tool_(tool), format_(format) {}
    bool write(const double* values, int count = 3);
    int finish(int status);

private:
    const char* tool_;
    NumberFormat format_;
    int writeErrno_ = 0;
};

/*
 * readEndStatus - the status for the reader's last outcome `read`: 0 for
 * End (or Record, when the tool stopped for another reason); for Malformed
 * and InputError, the message on standard error and 1 or 4.
 */
int readEndStatus(const char* tool, ReadStatus read, const RecordReader& reader, const std::string& why);

/*
 * outOfMemory - says on standard error that memory ran out ("TOOL: out of
 * memory: what", or "TOOL: out of memory" for a null `what`), after
 * flushing the lines written so far; returns STATUS_NO_MEMORY.  Allocates
 * nothing.
 */
int outOfMemory(const char* tool, const char* what = nullptr);

}  // namespace geoharm

#endif
