#!/usr/bin/env bash
# Installs the library's run-time and development components into a temporary prefix, moves
# the prefix (the CMake package and vanmoor.pc must not remember where they were installed),
# builds a small C program against it with find_package and with pkg-config, runs both and
# checks they loaded the installed library.
#   consumer-test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/consumer" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for component in Runtime Development; do
    cmake --install "$build" --prefix "$work/installed" --component "$component" >/dev/null
done
mv "$work/installed" "$work/prefix"
prefix="$work/prefix"
export VANMOOR_LOG_DIR="$work/log"

check_loaded() {
    local program="$1" loaded
    loaded=$(realpath "$("$program")")
    case "$loaded" in
        "$prefix"/*/libvanmoor.so.2*) echo "$program loaded $loaded" ;;
        *) echo "FAIL: $program loaded $loaded, not the library under $prefix" >&2; exit 1 ;;
    esac
}

cmake -S "$source_dir" -B "$work/with-cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/with-cmake" >/dev/null
check_loaded "$work/with-cmake/consumer"

pc_dir=$(dirname "$(find "$prefix" -name vanmoor.pc)")
export PKG_CONFIG_PATH="$pc_dir"
libdir=$(pkg-config --variable=libdir vanmoor)
# shellcheck disable=SC2046 # the flags are separate words
cc -o "$work/with-pkg-config" "$source_dir/consumer.c" $(pkg-config --cflags --libs vanmoor) \
    -Wl,-rpath,"$libdir"
check_loaded "$work/with-pkg-config"
