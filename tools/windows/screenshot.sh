#!/usr/bin/env bash
# Takes a picture of the Windows Kestrun (kestrun.exe under Wine) listing the simulated devices
# of the demonstration network, on a virtual X display (Xvfb) and inside the private test
# network, so it needs no desktop and touches no real network. DPI is the screen's pixels per
# inch Windows reports (96 unless given; 192 shows the layout at twice the size).
#   tools/windows/screenshot.sh OUTPUT.png [DPI]
set -euo pipefail
[ "$#" -ge 1 ] && [ "$#" -le 2 ] || { echo "usage: tools/windows/screenshot.sh OUTPUT.png [DPI]" >&2; exit 2; }
output=$(realpath -m "$1")
dpi=${2:-96}
cd "$(dirname "$0")/../.."

if [ -z "${VANMOOR_SCREENSHOT_INSIDE:-}" ]; then
    source tools/packages.sh
    VANMOOR_PACKAGES+=(imagemagick wine g++-mingw-w64-x86-64 wixl msitools)
    install_missing_packages
    tools/windows/build.sh build-windows >/dev/null
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j2 --target vanmoor-devsim

    source tools/virtual-display.sh
    start_virtual_display "$((1280 * dpi / 96))x$((1024 * dpi / 96))"
    VANMOOR_SCREENSHOT_INSIDE=1 VANMOOR_SCREENSHOT_DPI=$dpi \
        tests/netns/testnet.sh tools/demo/in-demo-network.sh build "$0" "$output"
    echo "Saved $output"
    exit 0
fi

# Inside the test network, with the devices running: a fresh Wine prefix at the asked DPI, then
# kestrun.exe; once its first search has ended, photograph the window.
work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" VANMOOR_LOG_DIR="$work"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VANMOOR_SCREENSHOT_DPI" /f >/dev/null
# Without a window manager on the display, Wine draws the caption and frame itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
wineserver -w
wine build-windows/bin/kestrun.exe &
kestrun=$!
sleep 8
import -window root -trim "$output"
kill "$kestrun" 2>/dev/null || true
wait "$kestrun" 2>/dev/null || true
