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

/*
 * openLibrary - loads the file at `path`; nullptr on failure, with the
 * reason in `why`.  `path` is a file's path on every platform, a bare
 * file name included (the current folder's file, never a search of the
 * system's library folders).  The reason reads the same everywhere:
 *   "cannot load PATH: no such file"
 *   "cannot load PATH: not a library this system can load (DETAIL)"
 * with the loader's own words as DETAIL.
 */
void* openLibrary(const std::string& path, std::string& why);

/* findSymbol - address of the exported function `name`, or nullptr. */
void* findSymbol(void* library, const char* name);

/* closeLibrary - unloads a library opened by openLibrary. */
void closeLibrary(void* library);

}  // namespace host
}  // namespace geoharm

#endif
