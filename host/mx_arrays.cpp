/*
 * mx_arrays.cpp - the stand-in host's arrays: making, checking and freeing
 * them, and counting them for leak checks.
 */
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

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

MexPointer createArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse) {
    /* The number of elements and the bytes of the data, refused before
       anything is allocated when they do not fit this platform's sizes
       (a negative dimension, a product past PTRDIFF_MAX or SIZE_MAX). */
    std::vector<MexSize> shape = dims;
    while (shape.size() < 2) shape.push_back(1);
    MexSize count = 1;
    for (MexSize d : shape) {
        if (d < 0 || (d > 0 && count > PTRDIFF_MAX / d)) throw std::bad_alloc();
        count *= d;
    }
    const std::size_t size = elementSize(classId);
    if (size > 0 && static_cast<std::size_t>(count) > SIZE_MAX / size) throw std::bad_alloc();

    /* Exactly the bytes of the elements, so that a read past them shows;
       no memory for them is std::bad_alloc, as for `new`. */
    const std::size_t bytes = static_cast<std::size_t>(count) * size;
    std::unique_ptr<void, void (*)(void*)> real(bytes > 0 ? std::calloc(bytes, 1) : nullptr, std::free);
    std::unique_ptr<void, void (*)(void*)> imag(bytes > 0 && complex ? std::calloc(bytes, 1) : nullptr, std::free);
    if (bytes > 0 && (real == nullptr || (complex && imag == nullptr))) throw std::bad_alloc();

    MxArray* a = new MxArray;
    a->magic = ARRAY_MAGIC;
    a->classId = classId;
    a->dims = shape;
    a->count = count;
    a->complex = complex;
    a->sparse = sparse;
    a->real = real.release();
    a->imag = imag.release();
    liveCount++;
    const MexPointer handle = reinterpret_cast<MexPointer>(a);
    if (tracked != nullptr) tracked->push_back(handle);
    return handle;
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
