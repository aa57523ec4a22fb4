/*
 * once.h - a value made by the first call that asks for it and kept, for
 * the choices made once per process (settings.cpp, routine_table.cpp).
 *
 * A plain record published through an atomic word: no guarded static,
 * whose guard would pull the C++ runtime's exception machinery into the
 * plug-ins.  Threads that ask first at the same time wait for the one
 * that makes it.  Only for objects with static storage duration (zero
 * before any initializer runs, so a call from another library's
 * initializer finds it unmade, not unformed).
 */
#ifndef GEOHARM_ONCE_H
#define GEOHARM_ONCE_H

#include <atomic>

namespace geoharm {

template <class T>
class Once {
public:
    /* The kept value; make() makes it at the first call. */
    template <class Make>
    const T& get(Make make) {
        if (state_.load(std::memory_order_acquire) == MADE) return value_;
        int expected = UNMADE;
        if (state_.compare_exchange_strong(expected, MAKING, std::memory_order_acq_rel)) {
            value_ = make();
            state_.store(MADE, std::memory_order_release);
        } else {
            while (state_.load(std::memory_order_acquire) != MADE) {
            }
        }
        return value_;
    }

private:
    static constexpr int UNMADE = 0, MAKING = 1, MADE = 2;
    std::atomic<int> state_;
    T value_;
};

}  // namespace geoharm

#endif
