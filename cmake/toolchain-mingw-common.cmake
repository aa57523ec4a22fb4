# Shared part of the two mingw-w64 cross toolchains (included by
# toolchain-mingw64.cmake and toolchain-mingw32.cmake, which set
# GEOHARM_MINGW_TRIPLE, GEOHARM_WINE_ARCH and GEOHARM_MINGW_ARCH_FLAGS first).
#
# Compilers: the "posix" thread-model flavour of Debian's mingw-w64 g++.
# Its libstdc++ has std::mutex and std::thread (on winpthread), which
# GoogleTest needs on Windows (thread-safe assertions, death tests); the
# "win32" flavour of GCC 12 has neither.  winpthread is a static library
# like the rest of the runtime here (-static below), so no binary imports
# libwinpthread-1.dll: the plug-ins' import test checks it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${GEOHARM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GEOHARM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GEOHARM_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${GEOHARM_MINGW_TRIPLE}-dlltool)
set(CMAKE_OBJDUMP ${GEOHARM_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${GEOHARM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# __USE_MINGW_ANSI_STDIO=1: printf/strtod from mingw-w64's own C99 code,
# not msvcrt's, so "%.17g" prints two-digit exponents (e-05, not e-005) and
# the shortest-correct digits exactly as glibc does, and strtod rounds
# correctly and reads "nan", "inf" and hex floats.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1 ${GEOHARM_MINGW_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1 ${GEOHARM_MINGW_ARCH_FLAGS}")

# C and C++ runtimes linked in: the binaries import from system DLLs
# (KERNEL32, msvcrt) and from the host's DLLs only.
set(GEOHARM_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${GEOHARM_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${GEOHARM_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${GEOHARM_STATIC_RUNTIME}")

# Programs and DLLs of the build in one folder, bin/: Windows finds the
# DLLs a program imports (the stand-in host's libmx.dll and libmex.dll)
# beside it.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Tests run under Wine, in a Wine prefix of this build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix;${GEOHARM_WINE_ARCH}")
