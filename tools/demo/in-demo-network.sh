#!/usr/bin/env bash
# Inside the private test network (tests/netns/testnet.sh): starts the simulated devices of a
# site of tools/demo on the lans, runs COMMAND in the pc namespace, and stops the devices
# afterwards.
#   in-demo-network.sh [--site NAME] BUILD_DIR COMMAND [ARG...]
# Site NAME is the device files NAME-lan1.conf and NAME-lan2.conf beside this script (a lan
# without a file stays empty); the default site, devices, is the six devices of the
# demonstration.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
site=devices
if [ "${1:-}" = --site ]; then
    site=${2:?in-demo-network.sh: --site needs a name}
    shift 2
fi
build=$1
shift
if [ -z "${VANMOOR_TESTNET:-}" ]; then
    echo "in-demo-network.sh: run me through tests/netns/testnet.sh" >&2
    exit 2
fi

lans=()
for lan in 1 2; do
    if [ -f "$here/$site-lan$lan.conf" ]; then
        lans+=("$lan")
    fi
done
if [ "${#lans[@]}" -eq 0 ]; then
    echo "in-demo-network.sh: no site '$site': neither $site-lan1.conf nor $site-lan2.conf in $here" >&2
    exit 2
fi

simulators=()
stop_simulators() {
    for pid in "${simulators[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap stop_simulators EXIT

ready_dir=$(mktemp -d)
for lan in "${lans[@]}"; do
    "$VANMOOR_TESTNET_IN_LAN" "$lan" "$build/tools/devsim/vanmoor-devsim" --ready \
        --config "$here/$site-lan$lan.conf" >"$ready_dir/lan$lan" &
    simulators+=("$!")
done
for lan in "${lans[@]}"; do
    for _ in $(seq 100); do
        grep -q ready "$ready_dir/lan$lan" 2>/dev/null && break
        sleep 0.05
    done
    grep -q ready "$ready_dir/lan$lan" || { echo "the devices of lan $lan did not start" >&2; exit 1; }
done
rm -rf "$ready_dir"

"$@"
