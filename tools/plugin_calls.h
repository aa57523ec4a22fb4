/*
 * plugin_calls.h - geoharm-call's calls of a plug-in: the records read in
 * runs, each run one call of the plug-in in the mode its kind takes
 * (call_modes.h), what the call gave back checked, and its lines written.
 */
#ifndef GEOHARM_TOOLS_PLUGIN_CALLS_H
#define GEOHARM_TOOLS_PLUGIN_CALLS_H

#include <string>
#include <vector>

#include "call_modes.h"
#include "plugin_host.h"
#include "record_io.h"
#include "tool_exit.h"

namespace geoharm {

/* How the arguments of each call are passed. */
struct CallOptions {
    MexInt nClass = INT8_CLASS;                   /* class of the N scalar */
    MexInt mClass = INT8_CLASS;                   /* class of the M scalar */
    int nrhs = 3;                                 /* inputs passed (more than 3: empty doubles follow) */
    int nlhs = 1;                                 /* outputs asked for */
    std::vector<MexSize> positionDims{3, 1};      /* the position's array (Single mode) */
    unsigned int callerMxcsr = 0x1F80u;           /* the floating-point state the plug-in is called from */
    MexPointer model = 0;                         /* a model struct passed first (0: none) */
};

/*
 * runPluginCalls - reads records "x y z N M" from `reader` and writes
 * "a_x a_y a_z" for each to `output`, as geoharm-eval does.
 *
 * The records go to the plug-in in runs (call_modes.h): one record per
 * call for geoharm; consecutive records with the same N and M, at most
 * RECORDS_AT_ONCE, for geoharm_batch.  A run is called as soon as it is
 * complete (full, or followed by another N or M, a malformed record or the
 * end), from the floating-point state options.callerMxcsr, with the
 * arguments the options ask for; its outputs are checked against what the
 * mode expects before a value is read, and its lines written before the
 * next record is read.
 *
 * Returned:
 *   read   the reader's last outcome, and `why` its reason (for
 *          readEndStatus, which reports a malformed record: the lines of
 *          the records before it are written first)
 * Returned (function value): STATUS_DONE, or the status of the call that
 * failed, with its message on standard error:
 *   STATUS_PLUGIN_ERROR  "identifier: message", an error the plug-in raised
 *   STATUS_NO_MEMORY     "host:nomem: message", an output the host could
 *                        not create, or arguments it could not create
 *   STATUS_USAGE         outputs other than the mode's ("TOOL: line K:
 *                        output ..."): the plug-in is not of the kind its
 *                        name says
 *   STATUS_FP_STATE      the call changed the caller's floating-point state
 *   STATUS_IO            a line could not be written (the records after
 *                        it are not read; output.finish reports it)
 * std::bad_alloc from the tool's own storage is the caller's to report.
 */
int runPluginCalls(const host::Plugin& plugin, CallMode mode, const CallOptions& options, RecordReader& reader,
                   ResultOutput& output, ReadStatus& read, std::string& why);

}  // namespace geoharm

#endif
