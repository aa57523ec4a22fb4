# 64-bit Windows (x86-64) with Debian's mingw-w64 cross compiler.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GEOHARM_MINGW_TRIPLE x86_64-w64-mingw32)
set(GEOHARM_WINE_ARCH win64)
# x86-64 computes doubles in SSE2 already.
set(GEOHARM_MINGW_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
