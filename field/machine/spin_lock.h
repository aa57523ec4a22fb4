/*
 * spin_lock.h - a lock for short sections of shared bookkeeping (the
 * registry of the recursion's factors, the plug-ins' prepared models).
 *
 * Not std::mutex: its lock() may throw, which would link the exception
 * machinery into libraries and plug-ins built to hold none.  The sections
 * it guards are short or rare, so waiting by spinning costs nothing that
 * matters.
 */
#ifndef GEOHARM_MACHINE_SPIN_LOCK_H
#define GEOHARM_MACHINE_SPIN_LOCK_H

#include <atomic>

namespace geoharm {

class SpinLock {
public:
    void lock() {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

/* Holds a SpinLock for its lifetime. */
class SpinLocked {
public:
    explicit SpinLocked(SpinLock& lock) : lock_(lock) { lock_.lock(); }
    ~SpinLocked() { lock_.unlock(); }
    SpinLocked(const SpinLocked&) = delete;
    SpinLocked& operator=(const SpinLocked&) = delete;

private:
    SpinLock& lock_;
};

}  // namespace geoharm

#endif
