/*
 * mx_arrays.cpp - the stand-in host's arrays: making, checking and freeing
 * them, and counting them for leak checks.
 */
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "host_api.h"
#include "mex_class_ids.h"
#include "mx_array.h"

namespace geoharm {
namespace host {

namespace {

std::atomic<long> liveCount{0};
thread_local std::vector<MexPointer>* tracked = nullptr;
thread_local std::vector<HostCall>* traced = nullptr;

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

/* A new live array of the given class and dimensions, data not yet set. */
MxArray* newArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse) {
    MxArray* a = new MxArray;
    a->magic = ARRAY_MAGIC;
    a->classId = classId;
    a->dims = dims;
    while (a->dims.size() < 2) a->dims.push_back(1);
    a->count = 1;
    for (MexSize d : a->dims) a->count *= d;
    a->complex = complex;
    a->sparse = sparse;
    a->real = nullptr;
    a->imag = nullptr;
    return a;
}

/* The handle of a new array, counted and tracked. */
MexPointer registered(MxArray* a) {
    liveCount++;
    const MexPointer handle = reinterpret_cast<MexPointer>(a);
    if (tracked != nullptr) tracked->push_back(handle);
    return handle;
}

}  // namespace

MexPointer createArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse) {
    MxArray* a = newArray(classId, dims, complex, sparse);
    /* Exactly the bytes of the elements, so that a read past them shows. */
    const std::size_t bytes = static_cast<std::size_t>(a->count) * elementSize(classId);
    a->real = bytes > 0 ? std::calloc(bytes, 1) : nullptr;
    a->imag = bytes > 0 && complex ? std::calloc(bytes, 1) : nullptr;
    return registered(a);
}

MexPointer createArrayWithoutData(MexInt classId, const std::vector<MexSize>& dims) {
    return registered(newArray(classId, dims, false, false));
}

void destroyArray(MexPointer handle) {
    if (handle == 0) return;
    MxArray* a = arrayOf(handle, "destroyArray");
    a->magic = 0;
    std::free(a->real);
    std::free(a->imag);
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

void* realData(MexPointer handle) { return arrayOf(handle, "realData")->real; }

void* imagData(MexPointer handle) { return arrayOf(handle, "imagData")->imag; }

long liveArrays() { return liveCount.load(); }

void trackArrays(std::vector<MexPointer>* made) { tracked = made; }

void traceHostCalls(std::vector<HostCall>* trace) { traced = trace; }

void noteHostCall(const char* routine, std::initializer_list<long long> values) {
    if (traced != nullptr) traced->push_back({routine, values});
}

}  // namespace host
}  // namespace geoharm
