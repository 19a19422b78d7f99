#!/usr/bin/env bash
# Runs a command in lan namespace N of the test network: in-lan.sh N COMMAND [ARG...]
# Only meaningful inside testnet.sh.
set -euo pipefail
if [ -z "${VANMOOR_TESTNET:-}" ] || [ "$#" -lt 2 ]; then
    echo "usage (inside testnet.sh only): in-lan.sh N COMMAND [ARG...]" >&2
    exit 2
fi
var="VANMOOR_TESTNET_LAN$1_PID"
pid="${!var:?no lan $1 in this test network}"
shift
exec nsenter --target "$pid" --net -- "$@"
