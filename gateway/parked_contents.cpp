/*
 * parked_contents.cpp - a few slots of parked contents, by thread.  A
 * thread is in one call at a time, so contents parked by a call of this
 * thread that is over were left by a call the host ended.  With every slot
 * taken (more threads loading at once than slots), contents are not parked.
 */
#include "parked_contents.h"

#include <thread>

#include "machine/spin_lock.h"

namespace geoharm {

namespace {

constexpr int SLOTS = 8;

struct Slot {
    bool used;
    std::thread::id owner;
    ModelFileContents contents;
};

struct Parking {
    SpinLock lock;
    Slot slots[SLOTS] = {};

    ~Parking() {
        for (Slot& s : slots)
            if (s.used) releaseModelFileContents(&s.contents);
    }
};

Parking parking;

}  // namespace

void freeLeftContents() {
    const std::thread::id me = std::this_thread::get_id();
    for (Slot& s : parking.slots) {
        ModelFileContents left{};
        bool found = false;
        {
            const SpinLocked held(parking.lock);
            if (s.used && s.owner == me) {
                left = s.contents;
                s.used = false;
                found = true;
            }
        }
        if (found) releaseModelFileContents(&left);
    }
}

void parkContents(const ModelFileContents& contents) {
    const SpinLocked held(parking.lock);
    for (Slot& s : parking.slots) {
        if (!s.used) {
            s = Slot{true, std::this_thread::get_id(), contents};
            return;
        }
    }
}

void releaseParkedContents(ModelFileContents* contents) {
    {
        const SpinLocked held(parking.lock);
        for (Slot& s : parking.slots)
            if (s.used && s.contents.C == contents->C) s.used = false;
    }
    releaseModelFileContents(contents);
}

}  // namespace geoharm
