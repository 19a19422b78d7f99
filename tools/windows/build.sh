#!/usr/bin/env bash
# Cross-builds the Windows variant (vanmoor.dll, its import libraries and vanmoor.exe) with
# MinGW-w64 into its own build folder, build-windows/ unless one is given.
#
#   tools/windows/build.sh [BUILD_DIR] [CMAKE_ARG...]
set -euo pipefail
cd "$(dirname "$0")/../.."
dir="${1:-build-windows}"
shift $(($# > 0 ? 1 : 0))
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANMOOR_WARNINGS_AS_ERRORS=ON "$@"
cmake --build "$dir" -j2
