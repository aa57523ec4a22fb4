/*
 * dynamic_library_windows.cpp - dynamic_library.h on Windows (LoadLibraryW).
 *
 * The path comes in the process's code page (as the command line gives
 * it); it is made absolute, with '/' read as '\', and the library is
 * loaded with its own folder searched first for the DLLs it imports
 * (LOAD_WITH_ALTERED_SEARCH_PATH).  The host's libmx.dll and libmex.dll
 * are normally loaded already, and the plug-in's imports bind to those.
 * Windows binds every import at load time, so a missing host routine
 * shows then, as RTLD_NOW does on POSIX systems.  No error box appears:
 * a failure is only reported through `why`.
 */
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "dynamic_library.h"

namespace geoharm {
namespace host {

namespace {

/* The system's text for an error code, without the trailing line break. */
std::string systemMessage(DWORD code) {
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ' || text[n - 1] == '.')) n--;
    std::string message(text, n);
    if (message.empty()) message = "system error";
    return message + " (error " + std::to_string(code) + ")";
}

/* `path` as an absolute wide path with backslashes; empty on failure. */
std::wstring absoluteWidePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    for (wchar_t& c : wide) {
        if (c == L'/') c = L'\\';
    }
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::wstring();
    std::wstring full(size, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    if (written == 0 || written >= size) return std::wstring();
    full.resize(written);
    return full;
}

}  // namespace

void* openLibrary(const std::string& path, std::string& why) {
    const std::wstring full = absoluteWidePath(path);
    if (full.empty()) {
        why = "cannot load " + path + ": not a usable path";
        return nullptr;
    }
    /* A file that is not there, told apart from one that does not load. */
    if (GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        why = "cannot load " + path + ": " +
              (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? std::string("no such file")
                                                                             : systemMessage(code));
        return nullptr;
    }
    /* No message box for a missing file or DLL, on this thread only. */
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE library = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = library == nullptr ? GetLastError() : 0;
    SetThreadErrorMode(oldMode, nullptr);
    if (library == nullptr)
        why = "cannot load " + path + ": not a library this system can load (" + systemMessage(code) + ")";
    return reinterpret_cast<void*>(library);
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace host
}  // namespace geoharm
