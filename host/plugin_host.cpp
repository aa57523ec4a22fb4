/*
 * plugin_host.cpp - arrays, plug-in loading and calls for the tools and
 * tests (plugin_host.h).
 */
#include "plugin_host.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "dynamic_library.h"
#include "mex_host.h"

namespace geoharm {
namespace host {

namespace {

/* The entry point's name on this platform. */
const char* const ENTRY_NAME = GEOHARM_MEX_NAME("mexfunction_", "MEXFUNCTION");

/* value rounded half away from zero and saturated to lo..hi; NaN is 0. */
template <typename T>
T roundSaturated(double value, double lo, double hi) {
    if (std::isnan(value)) return 0;
    const double r = std::round(value);
    if (r <= lo) return static_cast<T>(lo);
    if (r >= hi) return static_cast<T>(hi);
    return static_cast<T>(r);
}

/* Store `v` as the first element of `a`. */
template <typename T>
void storeFirst(const Array& a, T v) {
    std::memcpy(a.data(), &v, sizeof v);
}

}  // namespace

Array& Array::operator=(Array&& other) noexcept {
    if (this != &other) {
        destroyArray(handle_);
        handle_ = other.handle_;
        other.handle_ = 0;
    }
    return *this;
}

Array makeArray(MexInt classId, const std::vector<MexSize>& dims, bool complex, bool sparse) {
    const MexPointer handle = createArray(classId, dims, complex, sparse);
    if (handle == 0) throw std::bad_alloc();
    return Array(handle);
}

Array makeScalar(MexInt classId, double value) {
    Array a = makeArray(classId, {1, 1});
    switch (classId) {
        case DOUBLE_CLASS:
            storeFirst(a, value);
            break;
        case SINGLE_CLASS:
            storeFirst(a, static_cast<float>(value));
            break;
        case LOGICAL_CLASS:
            storeFirst(a, static_cast<std::uint8_t>(value != 0.0 ? 1 : 0));
            break;
        case CHAR_CLASS:
        case UINT16_CLASS:
            storeFirst(a, roundSaturated<std::uint16_t>(value, 0.0, 65535.0));
            break;
        case INT8_CLASS:
            storeFirst(a, roundSaturated<std::int8_t>(value, -128.0, 127.0));
            break;
        case UINT8_CLASS:
            storeFirst(a, roundSaturated<std::uint8_t>(value, 0.0, 255.0));
            break;
        case INT16_CLASS:
            storeFirst(a, roundSaturated<std::int16_t>(value, -32768.0, 32767.0));
            break;
        case INT32_CLASS:
            storeFirst(a, roundSaturated<std::int32_t>(value, -2147483648.0, 2147483647.0));
            break;
        case UINT32_CLASS:
            storeFirst(a, roundSaturated<std::uint32_t>(value, 0.0, 4294967295.0));
            break;
        case INT64_CLASS:
            /* The bounds as doubles: -2^63 exactly, and 2^63 for the top,
               which saturates to INT64_MAX. */
            if (std::isnan(value)) break;
            storeFirst(a, value >= 9223372036854775808.0 ? INT64_MAX
                          : value <= -9223372036854775808.0 ? INT64_MIN
                                                            : static_cast<std::int64_t>(std::round(value)));
            break;
        case UINT64_CLASS:
            if (std::isnan(value) || value <= 0.0) break;
            storeFirst(a, value >= 18446744073709551616.0 ? UINT64_MAX : static_cast<std::uint64_t>(std::round(value)));
            break;
        default:
            /* Cell, struct, function handle: a null element. */
            break;
    }
    return a;
}

Array makePosition(double x, double y, double z, const std::vector<MexSize>& dims, double filler) {
    Array a = makeArray(DOUBLE_CLASS, dims);
    double* p = static_cast<double*>(a.data());
    MexSize count = 1;
    for (MexSize d : dims) count *= d;
    const double xyz[3] = {x, y, z};
    for (MexSize i = 0; i < count; i++) p[i] = i < 3 ? xyz[i] : filler;
    return a;
}

bool loadPlugin(const std::string& path, Plugin& plugin, std::string& why) {
    plugin.library = openLibrary(path, why);
    if (plugin.library == nullptr) return false;
    plugin.entry = reinterpret_cast<EntryPoint>(findSymbol(plugin.library, ENTRY_NAME));
    if (plugin.entry == nullptr) {
        why = path + " has no entry point " + ENTRY_NAME;
        unloadPlugin(plugin);
        return false;
    }
    return true;
}

void unloadPlugin(Plugin& plugin) {
    if (plugin.library != nullptr) closeLibrary(plugin.library);
    plugin.library = nullptr;
    plugin.entry = nullptr;
}

CallResult callPlugin(const Plugin& plugin, MexInt nlhs, const std::vector<MexPointer>& inputs) {
    std::vector<MexPointer> plhs(nlhs > 1 ? static_cast<std::size_t>(nlhs) : 1, 0);
    CallResult result;
    result.ok = callEntryPoint(plugin.entry, nlhs, plhs.data(), static_cast<MexInt>(inputs.size()),
                               inputs.empty() ? nullptr : inputs.data(), result.error, result.arraysMade);
    /* Slot 0 is the caller's; any further outputs are not used here. */
    result.output = Array(plhs[0]);
    for (std::size_t i = 1; i < plhs.size(); i++) destroyArray(plhs[i]);
    return result;
}

}  // namespace host
}  // namespace geoharm
