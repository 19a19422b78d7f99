#!/usr/bin/env bash
# Takes a picture of Kestrun listing the simulated devices of the demonstration network, on a
# virtual X display (Xvfb) and inside the private test network, so it needs no desktop and
# touches no real network.
#   tools/screenshot.sh OUTPUT.png
set -euo pipefail
[ "$#" -eq 1 ] || { echo "usage: tools/screenshot.sh OUTPUT.png" >&2; exit 2; }
output=$(realpath -m "$1")
cd "$(dirname "$0")/.."

source tools/packages.sh
VANMOOR_PACKAGES+=(imagemagick)
install_missing_packages

if [ -z "${VANMOOR_SCREENSHOT_INSIDE:-}" ]; then
    build=build
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j2 --target Kestrun vanmoor-devsim

    source tools/virtual-display.sh
    start_virtual_display 1024x800
    VANMOOR_SCREENSHOT_INSIDE=1 \
        tests/netns/testnet.sh tools/demo/in-demo-network.sh "$build" "$0" "$output"
    echo "Saved $output"
    exit 0
fi

# Inside the test network, with the devices running: start Kestrun, let its first search end,
# then photograph the window.
./build/dialog/kestrun &
kestrun=$!
sleep 4
import -window root -trim "$output"
kill "$kestrun"
wait "$kestrun" 2>/dev/null || true
