#!/usr/bin/env bash
# Inside the private test network (tests/netns/testnet.sh): starts the simulated devices of
# tools/demo on both lans, runs COMMAND in the pc namespace, and stops the devices afterwards.
#   in-demo-network.sh BUILD_DIR COMMAND [ARG...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1
shift
if [ -z "${VANMOOR_TESTNET:-}" ]; then
    echo "in-demo-network.sh: run me through tests/netns/testnet.sh" >&2
    exit 2
fi

simulators=()
stop_simulators() {
    for pid in "${simulators[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap stop_simulators EXIT

ready_dir=$(mktemp -d)
for lan in 1 2; do
    "$VANMOOR_TESTNET_IN_LAN" "$lan" "$build/tools/devsim/vanmoor-devsim" --ready \
        --config "$here/devices-lan$lan.conf" >"$ready_dir/lan$lan" &
    simulators+=("$!")
done
for lan in 1 2; do
    for _ in $(seq 100); do
        grep -q ready "$ready_dir/lan$lan" 2>/dev/null && break
        sleep 0.05
    done
    grep -q ready "$ready_dir/lan$lan" || { echo "the devices of lan $lan did not start" >&2; exit 1; }
done
rm -rf "$ready_dir"

"$@"
