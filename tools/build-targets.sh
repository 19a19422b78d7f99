# Builds targets for the scripts that start programs from the source tree (run.sh, the demo);
# sourced by them.

# build_targets BUILD_DIR TARGET...: configures BUILD_DIR when needed and builds the targets.
# The first build takes minutes: its progress goes to standard error as it happens, while a build
# with nothing to do prints nothing, so that the program's own output stays alone on standard
# output. A failing configuration shows its messages.
build_targets() {
    local build=$1 log
    shift
    [ -f "$build/CMakeCache.txt" ] || echo "Configuring $build/ (once)..." >&2
    log=$(mktemp)
    if ! cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
    cmake --build "$build" -j2 --target "$@" 2>&1 |
        { grep --line-buffered -v -e '^\[ *[0-9]*%\] Built target ' -e '^Consolidate compiler generated' || true; } >&2
    return "${PIPESTATUS[0]}"
}
