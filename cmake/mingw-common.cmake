# Cross build for Windows with mingw-w64, for the processor in mingwArch. The
# posix-threads variant of the compiler is used because GoogleTest needs std::mutex;
# -static (top-level CMakeLists.txt) keeps its runtime inside the programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${mingwArch})

set(CMAKE_C_COMPILER ${mingwArch}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingwArch}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${mingwArch}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingwArch}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
