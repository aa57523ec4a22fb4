/*
 * host_api.h - what the stand-in host libraries offer beyond the routines
 * the plug-in calls (those are declared in gateway/mex_host.h): making and
 * freeing arrays of any class, and calling an entry point the way the host
 * does, with errors raised through the host caught at the call.
 *
 * libmx:  the arrays (class, dimensions, real and imaginary data, sparse
 *         flag) and the by-reference array routines.
 * libmex: the error routine and the call of an entry point.
 * libmat: nothing the plug-in uses; it is there because the plug-in lists
 *         it among its needed libraries.
 */
#ifndef GEOHARM_HOST_API_H
#define GEOHARM_HOST_API_H

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "mex_platform.h"

namespace geoharm {
namespace host {

/* --- libmx --------------------------------------------------------------- */

/*
 * createArray - a new array, data zero-filled.
 *
 * classId  host class numbering (mex_class_ids.h); cell, struct and
 *          function-handle arrays hold null handles.
 * dims     the dimensions (two or more; fewer are padded with 1)
 * complex  whether it has an imaginary part (same size as the real part)
 * sparse   the sparse flag; the data is sized as if full
 * An array with no elements has no data (its data address is 0).  The
 * handle stays valid until destroyArray.  An array that cannot be
 * allocated (a negative dimension, more elements or bytes than this
 * platform can address, no memory, or a failure set up by
 * failArrayCreation) gives 0, having allocated nothing.
 */
MexPointer createArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse);

/*
 * failArrayCreation - for tests: the k-th call of createArray from now on
 * (1: the next one; counted over all threads) fails as when memory has
 * run out; the others are not affected.  0 sets no failure.  At the first
 * createArray of the process, the environment variable
 * GEOHARM_HOST_FAIL_ALLOCATION, when it holds a whole number K >= 1, sets
 * failArrayCreation(K): so tests make a program's K-th array fail (the
 * arrays of geoharm-call's arguments count, as the plug-in's outputs do).
 */
void failArrayCreation(long k);

/*
 * createArrayWithoutData - an array that has a class and dimensions but no
 * data (its data address is 0), however many elements the dimensions
 * count: for calls that must be refused by the size alone, with sizes no
 * test machine could hold.  Reading its data is a fault of the caller.
 */
MexPointer createArrayWithoutData(MexInt classId, const std::vector<MexSize>& dims);

/*
 * createStruct - a new struct array of the given dimensions and field
 * names, every field of every element empty (0); setField fills them.
 * createString - a new 1-by-n char array of the bytes of text (each a
 * character).  Both give 0 when the array cannot be allocated.
 */
MexPointer createStruct(const std::vector<MexSize>& dims, const std::vector<std::string>& fields);
MexPointer createString(const std::string& text);

/*
 * createSharedCopy - a new array with the class and dimensions of another
 * and the same data, as the host shares the data of a copy until either
 * changes (the data is freed with the last of them); 0 when it cannot be
 * allocated.
 */
MexPointer createSharedCopy(MexPointer handle);

/*
 * setField - puts `value` in field `name` of element `index` (from 0) of
 * a struct array; the struct owns it from then on (an array it held there
 * is freed).  False, with value left to the caller, when there is no such
 * field or element.
 */
bool setField(MexPointer structArray, MexSize index, const std::string& name, MexPointer value);

/* getField - the array in field `name` of element `index` (from 0), still
   the struct's; 0 when there is none. */
MexPointer getField(MexPointer structArray, MexSize index, std::string_view name);

/* destroyArray - frees the array and its data (a struct's fields with
   it); 0 is ignored. */
void destroyArray(MexPointer handle);

/* What an array is, as arrayFacts reads it. */
struct ArrayFacts {
    MexInt classId = 0;
    std::vector<MexSize> dims; /* two or more, as created */
    bool complex = false;
    bool sparse = false;
    const void* real = nullptr; /* its real data (nullptr when it has none) */
};

/*
 * arrayFacts - the class, dimensions, flags and data of the array behind
 * `handle`; false, with `facts` untouched, when the handle is 0 or its
 * record does not carry the live mark (an array already freed).  For a
 * caller that checks what a plug-in gave back before reading it.
 */
bool arrayFacts(MexPointer handle, ArrayFacts& facts);

/* Real and imaginary data of an array (nullptr when it has none). */
void* realData(MexPointer handle);
void* imagData(MexPointer handle);

/* Bytes per element of a class (0 for an unknown class). */
std::size_t elementSize(MexInt classId);

/*
 * className - the name of a class as the caller's language writes it
 * ("double", "int8", "logical", "cell", "function_handle", ...), "unknown"
 * for an identifier of no class.  classNamed - the class of such a name;
 * false when no class has it.
 */
const char* className(MexInt classId);
bool classNamed(const char* name, MexInt& classId);

/* Arrays alive now, over all threads: a leak shows as a count that grows. */
long liveArrays();

/*
 * trackArrays - while `made` is set (per thread), every array created on
 * this thread is also appended to it; nullptr stops the tracking.
 */
void trackArrays(std::vector<MexPointer>* made);

/*
 * One call of a by-reference routine, as the host received it: the
 * routine's name and the values behind its arguments (handles, data
 * addresses, counts, flags; for the error routine, the two lengths).
 */
struct HostCall {
    std::string routine;
    std::vector<long long> values;
    bool operator==(const HostCall& o) const { return routine == o.routine && values == o.values; }
};

/*
 * traceHostCalls - while `trace` is set (per thread), every by-reference
 * routine called on this thread is appended to it; nullptr stops it.
 */
void traceHostCalls(std::vector<HostCall>* trace);

/* noteHostCall - appends to this thread's trace, if one is set. */
void noteHostCall(const char* routine, std::initializer_list<long long> values);
void noteHostCall(const char* routine, const std::vector<long long>& values);

/* --- libmex -------------------------------------------------------------- */

/* The plug-in's entry point (mex_host.h). */
using EntryPoint = void (*)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs, const MexPointer* prhs);

/* An error that ended a call: raised by the plug-in through the host's
   error routine, or by the host itself (raisedByHost: an array the plug-in
   asked for that the host cannot create, identifier HOST_NOMEM_ID). */
struct HostError {
    std::string identifier;
    std::string message;
    bool raisedByHost = false;
};

/* The identifier of the host's error for an array it cannot create. */
constexpr const char* HOST_NOMEM_ID = "host:nomem";

/*
 * callEntryPoint - one call of the plug-in, as the host makes it.
 *
 * plhs must have max(nlhs, 1) slots, set to 0.  On return true, the arrays
 * the plug-in created and left in plhs belong to the caller; any others it
 * created are freed.  On return false the call ended with an error
 * through the host: `error` holds it, every array the plug-in created is
 * freed and plhs is cleared.  The caller's floating-point state (MXCSR)
 * is left as the plug-in leaves it, on every way out: giving it back is
 * the plug-in's part, an error the host raises inside one of its routines
 * included, as it is under MATLAB and Octave.  `arraysMade`
 * counts the arrays the plug-in created either way.  Calls on different
 * threads are independent.
 */
bool callEntryPoint(EntryPoint entry, MexInt nlhs, MexPointer* plhs, MexInt nrhs, const MexPointer* prhs,
                    HostError& error, std::size_t& arraysMade);

}  // namespace host
}  // namespace geoharm

#endif
