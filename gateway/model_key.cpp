/*
 * model_key.cpp - a load time and a count.
 */
#include "model_key.h"

#include <atomic>
#include <chrono>

#include "machine/once.h"

namespace geoharm {

namespace {

Once<std::uint64_t> loaded;
std::atomic<std::uint64_t> count{0};

}  // namespace

void newModelKey(std::uint64_t key[2]) {
    key[0] = loaded.get([] {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::system_clock::now().time_since_epoch())
                                              .count());
    });
    key[1] = ++count;
}

}  // namespace geoharm
