/*
 * call_modes.h - the kinds of plug-in geoharm-call calls, and what a call
 * of each passes and must give back: the one place that states them.
 *
 *   Single  geoharm(position, N, M): one call per record; the position as
 *           a double array (3x1, or the dimensions of --position, x, y, z
 *           first); output 1 a real 3x1 double array a_x, a_y, a_z
 *   Batch   geoharm_batch(P, N, M): one call per run of consecutive
 *           records with one N and M, at most RECORDS_AT_ONCE; P a K-by-3
 *           double array, a point per row; for nlhs 0 or 1 output 1 a real
 *           K-by-3 double array, for nlhs 3 outputs 1, 2, 3 real K-by-1
 *           double arrays a_x, a_y, a_z (other counts the plug-in refuses)
 *   Gradient  geoharm_gradient(P, N, M): runs as Batch, nlhs 3; outputs T
 *           a real 3-by-3-by-K double array (3-by-3 for K = 1), A K-by-3,
 *           U K-by-1; a record's line is U a_x a_y a_z and T's nine
 *           elements (gradientLine, record_io.h)
 *
 * The mode comes from the plug-in's file name (callModeOf); a plug-in that
 * is not of the kind its name says is caught by its outputs, which then
 * differ from these (checkOutputs): geoharm's 3x1 array is never K-by-3,
 * geoharm_batch refuses a 3x1 position or gives 1-by-3 for --position
 * 1x3, and neither gives the gradient's 3-by-3-by-K tensor.  A further mode
 * is one more enumerator and one more case in each function here.
 */
#ifndef GEOHARM_TOOLS_CALL_MODES_H
#define GEOHARM_TOOLS_CALL_MODES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin_host.h"

namespace geoharm {

enum class CallMode { Single, Batch, Gradient };

/* callModeOf - Batch for a file whose name (after the last '/' or '\')
   starts with "geoharm_batch.", Gradient for "geoharm_gradient.", Single
   otherwise. */
CallMode callModeOf(const std::string& path);

/* modeName - how messages name a mode's plug-in ("a batch plug-in
   (geoharm_batch.*)"). */
const char* modeName(CallMode mode);

/* recordsPerCall - the most records one call takes: 1 (Single) or
   RECORDS_AT_ONCE. */
std::size_t recordsPerCall(CallMode mode);

/* Records of one call: their positions and their one N and M. */
struct CallRecords {
    std::vector<double> x, y, z;
    int n = 0;
    int m = 0;
    std::size_t size() const { return x.size(); }
};

/* positionsArgument - input 1 of the call for `records` (Single: the
   first record's position in an array of `singleDims`); throws
   std::bad_alloc when the host cannot create it. */
host::Array positionsArgument(CallMode mode, const CallRecords& records, const std::vector<MexSize>& singleDims);

/*
 * What a good call gives back for k records with nlhs outputs asked for:
 * the dimensions of each output slot it fills (real double arrays), and
 * where each value of a record's line lies: value v of record i is element
 * values[v].offset + values[v].stride * i of output slot values[v].slot.
 */
struct ExpectedOutputs {
    std::vector<std::vector<MexSize>> dims;
    struct Place {
        std::size_t slot;
        std::size_t offset;
        std::size_t stride;
    };
    std::vector<Place> values;
};
ExpectedOutputs expectedOutputs(CallMode mode, int nlhs, std::size_t k);

/*
 * checkOutputs - whether the output slots `plhs` hold what `expected`
 * says: a live, real, non-sparse double array of those dimensions in each
 * slot (trailing dimensions of 1 after the second do not count).  If not,
 * false with the first difference in `why` ("output 1 is a 3-by-1 double
 * array, where a batch plug-in (geoharm_batch.*) gives 2-by-3").  Reads
 * nothing but the arrays' descriptions.
 */
bool checkOutputs(CallMode mode, const ExpectedOutputs& expected, const MexPointer* plhs, std::size_t slots,
                  std::string& why);

}  // namespace geoharm

#endif
