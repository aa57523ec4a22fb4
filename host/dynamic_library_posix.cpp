/*
 * dynamic_library_posix.cpp - dynamic_library.h on POSIX systems (dlopen).
 *
 * The plug-in is loaded with its symbols kept to itself (RTLD_LOCAL) and
 * every reference bound at once (RTLD_NOW), so a missing host routine
 * shows at load time, not in the middle of a call.  dlopen takes a name
 * without '/' as a library name to search for (LD_LIBRARY_PATH, the run
 * path, the system's folders): such a path gets "./" in front.
 */
#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "dynamic_library.h"

namespace geoharm {
namespace host {

void* openLibrary(const std::string& path, std::string& why) {
    /* A file that is not there, told apart from one that does not load. */
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        why = "cannot load " + path + ": " + (errno == ENOENT ? std::string("no such file") : std::strerror(errno));
        return nullptr;
    }
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        why = "cannot load " + path + ": not a library this system can load (" +
              (reason != nullptr ? reason : "no reason given") + ")";
    }
    return library;
}

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void closeLibrary(void* library) { dlclose(library); }

}  // namespace host
}  // namespace geoharm
