#!/usr/bin/env bash
# Tries the command line program vanmoor inside the private demonstration network: simulated
# devices on two subnets, nothing reaches a real network (needs root, or unprivileged user
# namespaces).
#
#   tools/demo/vanmoor-demo.sh                          a shell with vanmoor on its PATH
#   tools/demo/vanmoor-demo.sh scan --output json       one command
#   tools/demo/vanmoor-demo.sh --site factory check     the same with another site's devices
#
# Sites are the device files NAME-lan1.conf and NAME-lan2.conf beside this script: devices
# (the default) has six devices on both lans, factory three cameras on their factory address
# and one set-up camera in lan 1. The devices start afresh at every run; the port-32970 devices
# take user admin, password admin.
set -euo pipefail
cd "$(dirname "$0")/../.."

site=devices
if [ "${1:-}" = --site ]; then
    site=${2:?vanmoor-demo.sh: --site needs a name, such as factory}
    shift 2
fi

# VANMOOR_DEMO_BUILD names a build directory whose programs to use as they are (the tests of
# the documented transcripts); otherwise build/ is brought up to date first.
build=${VANMOOR_DEMO_BUILD:-}
if [ -z "$build" ]; then
    source tools/packages.sh
    install_missing_packages
    source tools/build-targets.sh
    build=build
    build_targets "$build" vanmoor_program vanmoor-devsim
fi
export PATH="$(cd "$build" && pwd)/cli:$PATH"

if [ "$#" -eq 0 ]; then
    echo "Demo: lan 1 is 192.0.2.0/24, lan 2 198.51.100.0/24; try 'vanmoor scan'; 'exit' ends it."
    # Interactive on a terminal; commands piped in run as a script.
    shell=(bash --norc --noprofile)
    [ -t 0 ] && shell+=(-i)
    set -- "${shell[@]}"
else
    set -- vanmoor "$@"
fi
# Already inside a test network (the transcript tests): the devices start there.
if [ -n "${VANMOOR_TESTNET:-}" ]; then
    exec tools/demo/in-demo-network.sh --site "$site" "$build" "$@"
fi
exec tests/netns/testnet.sh tools/demo/in-demo-network.sh --site "$site" "$build" "$@"
