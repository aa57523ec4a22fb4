/*
 * dynamic_library_posix.cpp - dynamic_library.h on POSIX systems (dlopen).
 *
 * The plug-in is loaded with its symbols kept to itself (RTLD_LOCAL) and
 * every reference bound at once (RTLD_NOW), so a missing host routine
 * shows at load time, not in the middle of a call.
 */
#include <dlfcn.h>

#include "dynamic_library.h"

namespace geoharm {
namespace host {

void* openLibrary(const std::string& path, std::string& why) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        why = reason != nullptr ? reason : "cannot load " + path;
    }
    return library;
}

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void closeLibrary(void* library) { dlclose(library); }

}  // namespace host
}  // namespace geoharm
