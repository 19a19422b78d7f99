#!/usr/bin/env bash
# Runs the benchmarks inside a private test network: bench/run.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="${1:-$here/../build}"
for bench in vanmoor_SearchOverheadBench vanmoor_BurstBench vanmoor_AssignBench \
    vanmoor_WsdScanBench vanmoor_HttpTransportBench; do
    echo "== $bench"
    "$here/../tests/netns/testnet.sh" "$build/bench/$bench"
done
# A site of 1,000 cameras read and 100 of them re-addressed through the command line, each
# concurrency in a fresh network: a simulator that has just ended may still hold the addresses.
for concurrency in 4 16 64; do
    echo "== onvif-cameras.sh $concurrency"
    "$here/../tests/netns/testnet.sh" "$here/onvif-cameras.sh" "$build" "$concurrency"
done
# Parsing only: it opens no socket and runs as it is.
echo "== vanmoor_WsdParseBench"
"$build/bench/vanmoor_WsdParseBench"
echo "== vanmoor_WsdFloodBench"
"$build/bench/vanmoor_WsdFloodBench"
echo "== vanmoor_OnvifAnswerBench"
"$build/bench/vanmoor_OnvifAnswerBench"
# Kestrun's list opens no socket: the fake library answers, on Qt's offscreen platform.
if [ -x "$build/bench/vanmoor_KestrunListBench" ]; then
    echo "== vanmoor_KestrunListBench"
    QT_QPA_PLATFORM=offscreen "$build/bench/vanmoor_KestrunListBench"
fi
