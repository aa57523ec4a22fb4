/*
 * plain_new.h - one object in memory from malloc, or null: what
 * `new (std::nothrow) T` promises, without it.  libstdc++ builds that
 * operator on the throwing one inside a try block, which would link the
 * exception machinery (the unwinder, thread-local storage) into libraries
 * and plug-ins that must hold none.
 */
#ifndef GEOHARM_MODELS_PLAIN_NEW_H
#define GEOHARM_MODELS_PLAIN_NEW_H

#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace geoharm {

/* A T made from args in fresh memory, or null when there is none. */
template <class T, class... Args>
T* plainNew(Args&&... args) {
    void* memory = std::malloc(sizeof(T));
    return memory != nullptr ? new (memory) T{std::forward<Args>(args)...} : nullptr;
}

/* Ends and frees what plainNew made (null: nothing). */
template <class T>
void plainDelete(T* object) {
    if (object == nullptr) return;
    object->~T();
    std::free(const_cast<std::remove_const_t<T>*>(object));
}

}  // namespace geoharm

#endif
