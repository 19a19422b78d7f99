#!/usr/bin/env bash
# Installs what is missing, builds Kestrun and starts it.
#
#   ./run.sh           Kestrun on this machine's networks: it searches every local interface
#   ./run.sh --demo    Kestrun inside a private test network with simulated devices on two
#                      subnets; nothing reaches a real network (needs root, or unprivileged
#                      user namespaces)
set -euo pipefail
cd "$(dirname "$0")"
demo=0
case "${1:-}" in
    "") ;;
    --demo) demo=1 ;;
    *) echo "usage: ./run.sh [--demo]" >&2; exit 2 ;;
esac

source tools/packages.sh
install_missing_packages

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset). Start it from a desktop" >&2
    echo "session, or take a picture without one: tools/screenshot.sh kestrun.png" >&2
    exit 1
fi

source tools/build-targets.sh
build=build
targets=(Kestrun)
[ "$demo" -eq 1 ] && targets+=(vanmoor-devsim)
build_targets "$build" "${targets[@]}"

if [ "$demo" -eq 0 ]; then
    exec "$build/dialog/kestrun"
fi
echo "Demo: Kestrun in a private network; lan 1 is 192.0.2.0/24, lan 2 198.51.100.0/24."
exec tests/netns/testnet.sh tools/demo/in-demo-network.sh "$build" "$build/dialog/kestrun"
