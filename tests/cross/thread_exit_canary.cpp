// A library with a thread-local object that has a destructor: what the
// thread-exit check must refuse.
#include <string>

namespace {
thread_local std::string kept;
}

extern "C" __declspec(dllexport) void keep(const char* text) { kept = text; }
