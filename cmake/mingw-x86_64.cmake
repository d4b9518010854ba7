# Cross-compiles the same program for 64-bit Windows, to test it under a
# 64-bit Wine on a machine that runs no 32-bit programs.
set(TALLARO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
