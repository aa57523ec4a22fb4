/*
 * quad_table.h - std::vector storage for 113-bit numbers that is aligned
 * as the compiler expects on every build.
 *
 * GCC gives __float128 an alignment of 16 and moves it with aligned SSE
 * instructions, but the 32-bit Windows C library's malloc (and so
 * operator new) returns blocks aligned to 8 only: a quad in an ordinary
 * std::vector there faults on half of the blocks.  The allocator below
 * asks for the type's own alignment explicitly (C++17 aligned new).
 */
#ifndef GEOHARM_TESTS_MODELS_QUAD_TABLE_H
#define GEOHARM_TESTS_MODELS_QUAD_TABLE_H

#include <cstddef>
#include <new>
#include <vector>

namespace geoharm_test {

template <typename T>
struct AlignedAllocator {
    using value_type = T;
    AlignedAllocator() = default;
    template <typename U>
    AlignedAllocator(const AlignedAllocator<U>&) {}
    T* allocate(std::size_t n) {
        return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(alignof(T))));
    }
    void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t(alignof(T))); }
    template <typename U>
    bool operator==(const AlignedAllocator<U>&) const {
        return true;
    }
    template <typename U>
    bool operator!=(const AlignedAllocator<U>&) const {
        return false;
    }
};

template <typename T>
using AlignedVector = std::vector<T, AlignedAllocator<T>>;

using QuadTable = AlignedVector<__float128>;

}  // namespace geoharm_test

#endif
