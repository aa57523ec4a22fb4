/*
 * plugin_host.h - the stand-in host as the tools and tests use it: arrays
 * that free themselves, loading a plug-in file, and calling it with a list
 * of input arrays.
 */
#ifndef GEOHARM_HOST_PLUGIN_HOST_H
#define GEOHARM_HOST_PLUGIN_HOST_H

#include <cstddef>
#include <string>
#include <vector>

#include "host_api.h"
#include "mex_class_ids.h"

namespace geoharm {
namespace host {

/* An owned host array (or none); freed when it goes out of scope. */
class Array {
public:
    Array() = default;
    explicit Array(MexPointer handle) : handle_(handle) {}
    ~Array() { destroyArray(handle_); }
    Array(Array&& other) noexcept : handle_(other.handle_) { other.handle_ = 0; }
    Array& operator=(Array&& other) noexcept;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;

    MexPointer handle() const { return handle_; }
    /* Gives the array up (to a struct that took it): no longer freed here. */
    MexPointer release() {
        const MexPointer h = handle_;
        handle_ = 0;
        return h;
    }
    void* data() const { return handle_ != 0 ? realData(handle_) : nullptr; }

private:
    MexPointer handle_ = 0;
};

/* makeArray - a zero-filled array of any class and dimensions; throws
   std::bad_alloc when the host cannot allocate it (createArray). */
Array makeArray(MexInt classId, const std::vector<MexSize>& dims, bool complex = false, bool sparse = false);

/*
 * makeScalar - a 1x1 array of `classId` holding `value` converted as the
 * caller's language converts a number to that class: integers round to
 * nearest (halves away from zero), saturate to the class's range, and take
 * NaN as 0; logical is value != 0; single rounds to nearest; char takes
 * the uint16 conversion.
 */
Array makeScalar(MexInt classId, double value);

/*
 * makePosition - a real double array of the given dimensions whose first
 * elements are x, y, z (the others, if any, hold `filler`).
 */
Array makePosition(double x, double y, double z, const std::vector<MexSize>& dims = {3, 1}, double filler = 0.0);

/* A plug-in file loaded into the process. */
struct Plugin {
    void* library = nullptr;
    EntryPoint entry = nullptr;
};

/* loadPlugin - loads the file and finds its entry point; false with `why`. */
bool loadPlugin(const std::string& path, Plugin& plugin, std::string& why);

/* unloadPlugin - unloads it again. */
void unloadPlugin(Plugin& plugin);

/* The outcome of one call. */
struct CallResult {
    bool ok = false;
    HostError error;        /* when !ok */
    Array output;           /* output slot 0 of a good call */
    std::size_t arraysMade; /* arrays the plug-in created during the call */
};

/*
 * callPlugin - calls the entry point with nlhs and the given input handles
 * (still owned by the caller), and takes output slot 0.
 */
CallResult callPlugin(const Plugin& plugin, MexInt nlhs, const std::vector<MexPointer>& inputs);

}  // namespace host
}  // namespace geoharm

#endif
