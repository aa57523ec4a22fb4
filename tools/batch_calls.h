/*
 * batch_calls.h - geoharm-call's mode for the many-point plug-ins
 * (geoharm_batch and geoharm_gradient, .mexa64 / .mexw64 / .mexw32): the
 * records go to the plug-in many at a time instead of one call each.
 */
#ifndef GEOHARM_TOOLS_BATCH_CALLS_H
#define GEOHARM_TOOLS_BATCH_CALLS_H

#include <string>

#include "plugin_host.h"
#include "record_io.h"
#include "tool_exit.h"

namespace geoharm {

/* How the arguments of each batch call are passed. */
struct BatchCallOptions {
    MexInt nClass = INT8_CLASS; /* class of the N scalar */
    MexInt mClass = INT8_CLASS; /* class of the M scalar */
    int nrhs = 3;               /* inputs passed (more than 3: empty doubles follow) */
    int nlhs = 1;               /* outputs asked for: 0 or 1 a K-by-3 array, 3 three K-by-1 */
    unsigned int callerMxcsr = 0x1F80u; /* the floating-point state the plug-in is called from */
    bool gradient = false;              /* geoharm_gradient: lines of 13 values from T, A, U (nlhs 3) */
};

/* isBatchPlugin - whether the file at `path` is a batch plug-in: its name
   (after the last '/' or '\') starts with "geoharm_batch.". */
bool isBatchPlugin(const std::string& path);

/* isGradientPlugin - the same for geoharm_gradient ("geoharm_gradient."). */
bool isGradientPlugin(const std::string& path);

/*
 * runBatchCalls - reads records "x y z N M" from `reader` and writes
 * "a_x a_y a_z" for each to `output`, as geoharm-eval does.
 *
 * Every run of consecutive records with the same N and M is one call of
 * the plug-in, from the floating-point state options.callerMxcsr: the K
 * positions as a K-by-3 double array, N and M as scalars of the given
 * classes.  Each call's lines are written before the next run is read on.
 * With nlhs 3 the lines are taken from the three K-by-1 outputs, otherwise
 * from the K-by-3 one.  For the gradient plug-in (options.gradient) each
 * line is "U a_x a_y a_z Txx .. Tzz" (record_io.h), from its outputs T,
 * A and U.
 *
 * Returned:
 *   read   the reader's last outcome, and `why` its reason (for
 *          readEndStatus, which reports a malformed record: the lines of
 *          the records before it are written first)
 * Returned (function value): STATUS_DONE, or the status of a call that
 * failed: STATUS_USAGE when the host cannot allocate the positions,
 * STATUS_PLUGIN_ERROR ("identifier: message" on standard error),
 * STATUS_FP_STATE, or STATUS_IO when a line could not be written (the
 * records after it are not read; output.finish reports it).
 */
int runBatchCalls(const host::Plugin& plugin, const BatchCallOptions& options, RecordReader& reader,
                  ResultOutput& output, ReadStatus& read, std::string& why);

}  // namespace geoharm

#endif
