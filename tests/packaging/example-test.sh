#!/usr/bin/env bash
# Runs the README's library example against the simulated devices of
# tools/devsim/example-devices.conf, as the README's simulator example does, and checks that
# it lists every device of lan 1 with its address, MAC, protocol and name.
# Inside the private test network only:  testnet.sh example-test.sh BUILD_DIR DEVICE_FILE
set -euo pipefail
build="$1"
[ -n "${VANMOOR_TESTNET:-}" ] || { echo "example-test.sh: run it inside testnet.sh" >&2; exit 2; }

coproc SIM { exec "$VANMOOR_TESTNET_IN_LAN" 1 "$build/tools/devsim/vanmoor-devsim" --config "$2" --ready; }
simulator=$SIM_PID # bash unsets SIM_PID as soon as the simulator ends
read -r ready <&"${SIM[0]}"
echo "$ready"
listing=$("$build/examples/list-devices")
kill "$simulator" 2>/dev/null || { echo "FAIL: the simulator ended before the search" >&2; exit 1; }
wait "$simulator" || true
echo "$listing"
[ "$(wc -l <<<"$listing")" -eq 3 ] || { echo "FAIL: expected 3 devices" >&2; exit 1; }
for device in "192.0.2.10 +2-0-94-0-1-1 +4022 +Lobby" "192.0.2.11 +2-0-94-0-1-2 +4022 +Car park" \
              "192.0.2.20 +2-0-94-0-2-1 +32970 +Warehouse dome"; do
    grep -Eq "^$device\$" <<<"$listing" || { echo "FAIL: no line like '$device'" >&2; exit 1; }
done
