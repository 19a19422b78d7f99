#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and UBSan in
# build-fuzz, then fuzzes each target for SECONDS (default 60), as many targets at a time as
# there are cores, starting from its checked-in corpus. New inputs go to
# build-fuzz/scratch/<target>, never into fuzz/corpus; a crash leaves its input in
# build-fuzz/crashes/<target>/ and makes the script fail. An input worth keeping is
# copied into fuzz/corpus/<target> by hand; the replay tests then run it in every build.
#
#   tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build-fuzz

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVANMOOR_FUZZ=ON -DVANMOOR_BUILD_TESTS=OFF \
    -DVANMOOR_BUILD_BENCHMARKS=OFF
targets=()
for corpus in fuzz/corpus/*/; do
    targets+=("$(basename "$corpus")")
done
cmake --build "$dir" -j2 --target "${targets[@]/#/fuzz_}"

# No log configuration in an empty directory: the targets write no diagnostic log.
export VANMOOR_LOG_DIR="$PWD/$dir/no-log"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Fuzzes one target; prints its line, and its log's end when it failed.
fuzz_target() {
    local target="$1"
    local scratch="$dir/scratch/$target" crashes="$dir/crashes/$target"
    local log="$dir/logs/$target.log"
    rm -rf "$scratch"
    mkdir -p "$scratch" "$crashes" "$(dirname "$log")" "$VANMOOR_LOG_DIR"
    # Datagrams are at most 500 bytes; a little more, so that oversized ones are tried too.
    # Camera answers are a few kilobytes, and lists of many items a few more.
    local max_len=4096
    case "$target" in reply*) max_len=600 ;; onvif*) max_len=16384 ;; esac
    local status=0
    "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$scratch" "fuzz/corpus/$target" \
        >"$log" 2>&1 || status=$?
    local executions rate
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$target: ${executions:-?} executions in ${seconds} s (${rate:-?} per second)," \
        "$(find "$scratch" -type f | wc -l) new inputs"
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target FAILED (exit $status); input kept in $crashes/, log in $log:" >&2
        tail -n 40 "$log" >&2
        return 1
    fi
}

# A fuzzer keeps one core busy: as many targets at a time as there are cores, each given the
# same time as alone. Each one's lines are printed whole once it ends, in the targets' order.
at_once=$(nproc)
mkdir -p "$dir/logs"
failed=()
for ((first = 0; first < ${#targets[@]}; first += at_once)); do
    batch=("${targets[@]:first:at_once}")
    pids=()
    for target in "${batch[@]}"; do
        fuzz_target "$target" >"$dir/logs/$target.summary" 2>&1 &
        pids+=($!)
    done
    for i in "${!batch[@]}"; do
        status=0
        wait "${pids[$i]}" || status=$?
        cat "$dir/logs/${batch[$i]}.summary"
        if [ "$status" -ne 0 ]; then failed+=("${batch[$i]}"); fi
    done
done
if [ "${#failed[@]}" -ne 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}" >&2
    exit 1
fi
