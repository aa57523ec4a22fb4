/*
 * tool_platform.cpp - the command line's arguments as UTF-8
 * (tool_platform.h).
 */
#include "tool_platform.h"

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#endif

namespace geoharm {

#if defined(_WIN32)

namespace {

/* `wide` as UTF-8; false when it cannot be converted. */
bool utf8Of(const wchar_t* wide, std::string& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    text.assign(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], bytes, nullptr, nullptr) != bytes) return false;
    text.resize(static_cast<std::size_t>(bytes) - 1); /* without the terminating NUL */
    return true;
}

}  // namespace

std::vector<std::string> argumentsAsUtf8(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    bool good = wide != nullptr && count == argc;
    for (int i = 0; good && i < count; i++) {
        args.emplace_back();
        good = utf8Of(wide[i], args.back());
    }
    if (wide != nullptr) LocalFree(wide);
    if (good) return args;
    return std::vector<std::string>(argv, argv + argc);
}

#else

std::vector<std::string> argumentsAsUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

#endif

}  // namespace geoharm
