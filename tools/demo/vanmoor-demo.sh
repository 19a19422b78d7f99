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

source tools/packages.sh
install_missing_packages

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target vanmoor_program vanmoor-devsim >/dev/null
export PATH="$PWD/$build/cli:$PATH"

if [ "$#" -eq 0 ]; then
    echo "Demo: lan 1 is 192.0.2.0/24, lan 2 198.51.100.0/24; try 'vanmoor scan'; 'exit' ends it."
    set -- bash --norc --noprofile -i
else
    set -- vanmoor "$@"
fi
exec tests/netns/testnet.sh tools/demo/in-demo-network.sh --site "$site" "$build" "$@"
