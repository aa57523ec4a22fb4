/*
 * mx_arrays.cpp - the stand-in host's arrays: making, checking and freeing
 * them, and counting them for leak checks.
 */
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "host_api.h"
#include "mex_class_ids.h"
#include "mx_array.h"

namespace geoharm {
namespace host {

namespace {

std::atomic<long> liveCount{0};
/* Calls of createArray until the one that fails (failArrayCreation). */
std::atomic<long> creationsToFailure{0};
thread_local std::vector<MexPointer>* tracked = nullptr;
thread_local std::vector<HostCall>* traced = nullptr;
/* Threads with a trace set: while none has, a routine's note costs a load
   and no look-up of this thread's own (a plug-in calls some 60 routines a
   call, and the benchmarks time the calls through this host). */
std::atomic<int> tracingThreads{0};

}  // namespace

std::size_t elementSize(MexInt classId) {
    switch (classId) {
        case LOGICAL_CLASS:
        case INT8_CLASS:
        case UINT8_CLASS:
            return 1;
        case CHAR_CLASS:
        case INT16_CLASS:
        case UINT16_CLASS:
            return 2;
        case SINGLE_CLASS:
        case INT32_CLASS:
        case UINT32_CLASS:
            return 4;
        case DOUBLE_CLASS:
        case INT64_CLASS:
        case UINT64_CLASS:
            return 8;
        case CELL_CLASS:
        case STRUCT_CLASS:
        case FUNCTION_CLASS:
            return sizeof(MexPointer);
        default:
            return 0;
    }
}

namespace {

/* Class names, by identifier. */
const char* const CLASS_NAMES[] = {"unknown", "cell",   "struct", "logical", "char",  "void",
                                   "double",  "single", "int8",   "uint8",   "int16", "uint16",
                                   "int32",   "uint32", "int64",  "uint64",  "function_handle"};
constexpr MexInt CLASS_COUNT = static_cast<MexInt>(sizeof CLASS_NAMES / sizeof CLASS_NAMES[0]);
static_assert(CLASS_COUNT == FUNCTION_CLASS + 1, "a name for every class identifier");

}  // namespace

const char* className(MexInt classId) {
    return classId >= 0 && classId < CLASS_COUNT ? CLASS_NAMES[classId] : CLASS_NAMES[UNKNOWN_CLASS];
}

bool classNamed(const char* name, MexInt& classId) {
    for (MexInt id = CELL_CLASS; id < CLASS_COUNT; id++) {
        if (std::strcmp(name, CLASS_NAMES[id]) == 0) {
            classId = id;
            return true;
        }
    }
    return false;
}

namespace {

/* The number of elements of dims, or -1 when it does not fit this
   platform's sizes (a negative dimension, a product past PTRDIFF_MAX). */
MexSize elementCount(const std::vector<MexSize>& dims) {
    MexSize count = 1;
    for (MexSize d : dims) {
        if (d < 0 || (d > 0 && count > PTRDIFF_MAX / d)) return -1;
        count *= d;
    }
    return count;
}

/* Whether this call of createArray is the one failArrayCreation set up to
   fail; GEOHARM_HOST_FAIL_ALLOCATION is read at the first call. */
bool creationFailsNow() {
    static const bool fromEnvironment = [] {
        const char* text = std::getenv("GEOHARM_HOST_FAIL_ALLOCATION");
        char* end = nullptr;
        const long k = text != nullptr ? std::strtol(text, &end, 10) : 0;
        if (text != nullptr && end != text && *end == '\0' && k >= 1) failArrayCreation(k);
        return true;
    }();
    static_cast<void>(fromEnvironment);
    long left = creationsToFailure.load();
    while (left > 0) {
        if (creationsToFailure.compare_exchange_weak(left, left - 1)) return left == 1;
    }
    return false;
}

/* A new live array with the given data, counted and tracked; 0 when its
   record cannot be allocated (the data is then the caller's to free). */
MexPointer registered(MexInt classId, const std::vector<MexSize>& dims, MexSize count, bool complex, bool sparse,
                      void* real, void* imag) {
    MxArray* a = nullptr;
    try {
        a = new MxArray;
        a->dims = dims;
        while (a->dims.size() < 2) a->dims.push_back(1);
        /* Noted among the call's arrays before it is counted: an array the
           host cannot keep track of is not made at all. */
        if (tracked != nullptr) tracked->push_back(reinterpret_cast<MexPointer>(a));
    } catch (const std::bad_alloc&) {
        delete a;
        return 0;
    }
    a->magic = ARRAY_MAGIC;
    a->classId = classId;
    a->count = count;
    a->complex = complex;
    a->sparse = sparse;
    a->real = real;
    a->imag = imag;
    a->sharers = nullptr;
    liveCount++;
    return reinterpret_cast<MexPointer>(a);
}

}  // namespace

MexPointer createArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse) {
    /* The number of elements and the bytes of the data, refused before
       anything is allocated when they do not fit this platform's sizes. */
    const MexSize count = elementCount(dims);
    if (count < 0 || creationFailsNow()) return 0;
    const std::size_t size = elementSize(classId);
    if (size > 0 && static_cast<std::size_t>(count) > SIZE_MAX / size) return 0;

    /* Exactly the bytes of the elements, so that a read past them shows.
       What cannot be allocated gives 0 with nothing left allocated; no
       exception leaves the library (on 32-bit Windows every DLL unwinds
       with a runtime of its own, and none crosses into the program). */
    const std::size_t bytes = static_cast<std::size_t>(count) * size;
    void* real = bytes > 0 ? std::calloc(bytes, 1) : nullptr;
    void* imag = bytes > 0 && complex ? std::calloc(bytes, 1) : nullptr;
    MexPointer handle = 0;
    if (bytes == 0 || (real != nullptr && (!complex || imag != nullptr)))
        handle = registered(classId, dims, count, complex, sparse, real, imag);
    if (handle == 0) {
        std::free(real);
        std::free(imag);
    }
    return handle;
}

MexPointer createArrayWithoutData(MexInt classId, const std::vector<MexSize>& dims) {
    const MexSize count = elementCount(dims);
    return count < 0 ? 0 : registered(classId, dims, count, false, false, nullptr, nullptr);
}

MexPointer createStruct(const std::vector<MexSize>& dims, const std::vector<std::string>& fields) {
    const MexSize count = elementCount(dims);
    if (count < 0 || creationFailsNow()) return 0;
    const std::size_t slots = static_cast<std::size_t>(count) * fields.size();
    void* handles = slots > 0 ? std::calloc(slots, sizeof(MexPointer)) : nullptr;
    if (slots > 0 && handles == nullptr) return 0;
    const MexPointer handle = registered(STRUCT_CLASS, dims, count, false, false, handles, nullptr);
    if (handle == 0) {
        std::free(handles);
        return 0;
    }
    try {
        reinterpret_cast<MxArray*>(handle)->fields = fields;
    } catch (const std::bad_alloc&) {
        destroyArray(handle);
        return 0;
    }
    return handle;
}

MexPointer createString(const std::string& text) {
    const MexPointer handle = createArray(CHAR_CLASS, {1, static_cast<MexSize>(text.size())}, false, false);
    if (handle == 0) return 0;
    std::uint16_t* chars = static_cast<std::uint16_t*>(realData(handle));
    for (std::size_t i = 0; i < text.size(); i++) chars[i] = static_cast<unsigned char>(text[i]);
    return handle;
}

MexPointer createSharedCopy(MexPointer handle) {
    MxArray* a = arrayOf(handle, "createSharedCopy");
    if (a->classId == STRUCT_CLASS || creationFailsNow()) return 0;
    if (a->sharers == nullptr) {
        a->sharers = new (std::nothrow) long(1);
        if (a->sharers == nullptr) return 0;
    }
    const MexPointer copy = registered(a->classId, a->dims, a->count, a->complex, a->sparse, a->real, a->imag);
    if (copy == 0) return 0;
    reinterpret_cast<MxArray*>(copy)->sharers = a->sharers;
    ++*a->sharers;
    return copy;
}

bool setField(MexPointer structArray, MexSize index, const std::string& name, MexPointer value) {
    MxArray* a = arrayOf(structArray, "setField");
    if (a->classId != STRUCT_CLASS || index < 0 || index >= a->count) return false;
    for (std::size_t f = 0; f < a->fields.size(); f++) {
        if (a->fields[f] != name) continue;
        MexPointer& slot = static_cast<MexPointer*>(a->real)[static_cast<std::size_t>(index) * a->fields.size() + f];
        destroyArray(slot);
        slot = value;
        return true;
    }
    return false;
}

MexPointer getField(MexPointer structArray, MexSize index, std::string_view name) {
    const MxArray* a = arrayOf(structArray, "getField");
    if (a->classId != STRUCT_CLASS || index < 0 || index >= a->count) return 0;
    for (std::size_t f = 0; f < a->fields.size(); f++)
        if (std::string_view(a->fields[f]) == name) return static_cast<const MexPointer*>(a->real)[static_cast<std::size_t>(index) * a->fields.size() + f];
    return 0;
}

void destroyArray(MexPointer handle) {
    if (handle == 0) return;
    MxArray* a = arrayOf(handle, "destroyArray");
    if (a->classId == STRUCT_CLASS && a->real != nullptr) {
        const std::size_t slots = static_cast<std::size_t>(a->count) * a->fields.size();
        for (std::size_t i = 0; i < slots; i++) destroyArray(static_cast<MexPointer*>(a->real)[i]);
    }
    a->magic = 0;
    if (a->sharers != nullptr && --*a->sharers > 0) {
        /* Another array still holds the data. */
    } else {
        delete a->sharers;
        std::free(a->real);
        std::free(a->imag);
    }
    delete a;
    liveCount--;
}

MxArray* arrayOf(MexPointer handle, const char* routine) {
    MxArray* a = reinterpret_cast<MxArray*>(handle);
    if (a == nullptr || a->magic != ARRAY_MAGIC) {
        std::fprintf(stderr, "stand-in host: %s was given 0x%llx, which is not an array handle\n", routine,
                     static_cast<unsigned long long>(handle));
        std::abort();
    }
    return a;
}

bool arrayFacts(MexPointer handle, ArrayFacts& facts) {
    const MxArray* a = reinterpret_cast<const MxArray*>(handle);
    if (a == nullptr || a->magic != ARRAY_MAGIC) return false;
    facts.classId = a->classId;
    facts.dims = a->dims;
    facts.complex = a->complex;
    facts.sparse = a->sparse;
    facts.real = a->real;
    return true;
}

void* realData(MexPointer handle) { return arrayOf(handle, "realData")->real; }

void* imagData(MexPointer handle) { return arrayOf(handle, "imagData")->imag; }

long liveArrays() { return liveCount.load(); }

void failArrayCreation(long k) { creationsToFailure.store(k > 0 ? k : 0); }

void trackArrays(std::vector<MexPointer>* made) { tracked = made; }

void traceHostCalls(std::vector<HostCall>* trace) {
    if ((traced == nullptr) != (trace == nullptr)) tracingThreads.fetch_add(trace != nullptr ? 1 : -1);
    traced = trace;
}

void noteHostCall(const char* routine, std::initializer_list<long long> values) {
    if (tracingThreads.load(std::memory_order_relaxed) != 0 && traced != nullptr) traced->push_back({routine, values});
}

void noteHostCall(const char* routine, const std::vector<long long>& values) {
    if (tracingThreads.load(std::memory_order_relaxed) != 0 && traced != nullptr) traced->push_back({routine, values});
}

}  // namespace host
}  // namespace geoharm
