/*
 * batch_calls.h - geoharm-call's mode for the batch plug-in
 * (geoharm_batch.mexa64 / .mexw64 / .mexw32): the records go to the
 * plug-in many at a time instead of one call each.
 */
#ifndef GEOHARM_TOOLS_BATCH_CALLS_H
#define GEOHARM_TOOLS_BATCH_CALLS_H

#include <istream>
#include <string>

#include "plugin_host.h"

namespace geoharm {

/* How the arguments of each batch call are passed. */
struct BatchCallOptions {
    MexInt nClass = INT8_CLASS; /* class of the N scalar */
    MexInt mClass = INT8_CLASS; /* class of the M scalar */
    int nrhs = 3;               /* inputs passed (more than 3: empty doubles follow) */
    int nlhs = 1;               /* outputs asked for: 0 or 1 a K-by-3 array, 3 three K-by-1 */
};

/* isBatchPlugin - whether the file at `path` is a batch plug-in: its name
   (after the last '/' or '\') starts with "geoharm_batch.". */
bool isBatchPlugin(const std::string& path);

/*
 * runBatchCalls - reads records "x y z N M" (record_io.h) from `in` and
 * writes "a_x a_y a_z" for each to standard output, as geoharm-eval does.
 *
 * Every run of consecutive records with the same N and M is one call of
 * the plug-in: the K positions as a K-by-3 double array, N and M as
 * scalars of the given classes.  Each call's lines are written before the
 * next run is read on.  With nlhs 3 the lines are taken from the three
 * K-by-1 outputs, otherwise from the K-by-3 one.
 *
 * Returned (function value): the exit status of geoharm-call: 0 after all
 * records; 1 at a malformed record (reported with its line number on
 * standard error, after the lines of the records before it); 3 when a
 * call ends with an error through the host, printed as
 * "identifier: message" on standard error.
 */
int runBatchCalls(const host::Plugin& plugin, const BatchCallOptions& options, std::istream& in);

}  // namespace geoharm

#endif
