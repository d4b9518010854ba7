# Cross-compiles the program for 32-bit Windows.
set(TALLARO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# IEEE doubles in SSE registers, as on every other platform (not the x87's
# 80-bit intermediates).
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -ffunction-sections -fdata-sections")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
