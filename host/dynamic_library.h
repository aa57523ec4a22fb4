/*
 * dynamic_library.h - loading a plug-in file and finding a symbol in it.
 * The one part of the stand-in host that differs by operating system; each
 * platform has its own implementation file.
 */
#ifndef GEOHARM_HOST_DYNAMIC_LIBRARY_H
#define GEOHARM_HOST_DYNAMIC_LIBRARY_H

#include <string>

namespace geoharm {
namespace host {

/* openLibrary - loads `path`; nullptr on failure, with the reason in `why`. */
void* openLibrary(const std::string& path, std::string& why);

/* findSymbol - address of the exported function `name`, or nullptr. */
void* findSymbol(void* library, const char* name);

/* closeLibrary - unloads a library opened by openLibrary. */
void closeLibrary(void* library);

}  // namespace host
}  // namespace geoharm

#endif
