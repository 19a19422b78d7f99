#!/usr/bin/env bash
# Builds everything and runs every test: a normal build, then the whole suite again under
# AddressSanitizer with UndefinedBehaviorSanitizer, the programs that run threads (the network
# tests) under ThreadSanitizer, the Windows variant (cross-built, its checks and network tests
# under Wine), and then fuzzes each fuzz target for 15 seconds (tools/fuzz.sh, a clang build in
# build-fuzz). Network tests run inside private network namespaces that they create and remove
# themselves (tests/netns/testnet.sh); they need root or unprivileged user namespaces.
#
#   ./test.sh            everything
#   ./test.sh quick      the normal build, its tests and the Debian packages only
set -euo pipefail
cd "$(dirname "$0")"
mode="${1:-all}"

source tools/packages.sh
# For the packaging checks: dpkg-shlibdeps, file (CPack finds programs with it), pkg-config,
# lintian, and man for checking the man pages.
VANMOOR_PACKAGES+=(dpkg-dev file pkg-config lintian man-db)
install_missing_packages

jobs=2
# The tests mostly wait for devices' answers and timeouts (about 12 s of processor time in the
# normal build's 3.5 minutes of tests), so more of them run side by side than there are cores.
test_jobs=4
# Each stage's minutes, printed at the end, to show where the time of a run goes.
stage_times=()
stage_name=""
stage_started=$SECONDS
minutes() { echo "$(($1 / 60)) min $(($1 % 60)) s"; }
end_stage() {
    if [ -n "$stage_name" ]; then
        stage_times+=("$stage_name: $(minutes $((SECONDS - stage_started)))")
    fi
}
stage() {
    end_stage
    stage_name="$1"
    stage_started=$SECONDS
    echo "=== $1 ==="
}
configure_build_test() {
    local dir="$1" label="$2"
    shift 2
    stage "$label"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANMOOR_WARNINGS_AS_ERRORS=ON "$@"
    cmake --build "$dir" -j"$jobs"
    stage "$label: tests"
    ctest --test-dir "$dir" --output-on-failure -j"$test_jobs"
}

# Prefix /usr: the Debian packages are made from this build.
configure_build_test build "normal build" -DVANMOOR_SANITIZE_ADDRESS=OFF -DVANMOOR_SANITIZE_THREAD=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
stage "Debian packages"
tests/packaging/check-debs.sh build
# Reached only when every stage before passed (set -e).
all_passed() {
    end_stage
    printf '    %s\n' "${stage_times[@]}"
    echo "=== every stage passed in $(minutes $SECONDS) ==="
}
if [ "$mode" = quick ]; then
    all_passed
    exit 0
fi

# The sanitizer builds optimise less and keep only line tables (-O1 -g1): the reports' stack
# traces still name functions, files and lines, and they build in half the time.
sanitizer_flags=(-DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
                 -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG")
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
configure_build_test build-asan "AddressSanitizer and UndefinedBehaviorSanitizer" \
    -DVANMOOR_SANITIZE_ADDRESS=ON -DVANMOOR_BUILD_BENCHMARKS=OFF "${sanitizer_flags[@]}"

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
# Only the programs that run threads: the unit tests parse and check on one thread.
configure_build_test build-tsan "ThreadSanitizer (the network tests)" \
    -DVANMOOR_SANITIZE_THREAD=ON -DVANMOOR_BUILD_DIALOG=OFF -DVANMOOR_BUILD_BENCHMARKS=OFF \
    "${sanitizer_flags[@]}"

stage "Windows (MinGW-w64 cross build, tests under Wine)"
VANMOOR_PACKAGES=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 wixl msitools)
install_missing_packages
# The Windows benchmark is no test: left out, as from the sanitizer builds.
tools/windows/build.sh build-windows -DVANMOOR_BUILD_BENCHMARKS=OFF
stage "Windows: tests under Wine"
# The unit tests open no socket: they run here, in a Wine prefix of their own. The network test
# makes its own prefix inside its test network.
wine_dir=$(mktemp -d)
WINEPREFIX="$wine_dir/wine" WINEDEBUG=-all ctest --test-dir build-windows --output-on-failure
WINEPREFIX="$wine_dir/wine" wineserver -k || true
rm -rf "$wine_dir"
tests/windows/wine-network.sh build-windows/bin build/tools/devsim/vanmoor-devsim \
    build/tests/onvif/vanmoor_scripted_http_server

stage "fuzzing (15 seconds per target)"
tools/fuzz.sh 15
all_passed
