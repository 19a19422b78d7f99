#!/usr/bin/env bash
# Runs the benchmarks inside a private test network: bench/run.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="${1:-$here/../build}"
for bench in vanmoor_SearchOverheadBench vanmoor_BurstBench vanmoor_AssignBench; do
    echo "== $bench"
    "$here/../tests/netns/testnet.sh" "$build/bench/$bench"
done
# Kestrun's list opens no socket: the fake library answers, on Qt's offscreen platform.
echo "== vanmoor_KestrunListBench"
QT_QPA_PLATFORM=offscreen "$build/bench/vanmoor_KestrunListBench"
