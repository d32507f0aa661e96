# 64-bit Windows: the same sources, so that the tests can run them under Wine here.
set(mingwArch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
