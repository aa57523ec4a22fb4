# 32-bit Windows (i686) with Debian's mingw-w64 cross compiler.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GEOHARM_MINGW_TRIPLE i686-w64-mingw32)
set(GEOHARM_WINE_ARCH win32)
# -msse2 -mfpmath=sse: every double operation in SSE2 registers, rounded to
#   double by itself, never in the x87's 80-bit registers.
#   (-fno-math-errno, for every build in exact_arithmetic.cmake, keeps the
#   C library's sqrt, which returns in the x87 register st(0), out of it.)
# -mincoming-stack-boundary=2: a foreign host may call the plug-in with the
#   stack aligned to 4 bytes only (all the 32-bit Windows ABI promises); the
#   compiler then realigns the stack in every function that keeps 16-byte
#   aligned SSE data on it.
set(GEOHARM_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
