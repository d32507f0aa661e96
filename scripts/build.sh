#!/usr/bin/env bash
# Builds everything: the native library, tool and tests (build/native), the 32-bit
# Windows product (build/win32) and its 64-bit twin that runs under Wine (build/win64).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/native
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
for dir in build/native build/win32 build/win64; do
  cmake --build "$dir" -j "$jobs"
done
