#!/usr/bin/env bash
# Runs a command inside a private test network and removes the network afterwards.
#
#   pc namespace (the command runs here)          lan namespaces (simulated devices run here)
#     lan1  192.0.2.1/24     <--- veth --->   eth0  192.0.2.2/24     (lan 1)
#     lan2  198.51.100.1/24  <--- veth --->   eth0  198.51.100.2/24  (lan 2)
#
# Nothing created here is reachable from, or reaches, a real interface of the machine: every
# namespace is new and holds only these veth pairs and its own loopback. The namespaces live
# as long as the processes in them; the command's end (or a crash) removes them all.
#
# Works as root, and without root where unprivileged user namespaces are allowed.
# Inside, the command finds:
#   VANMOOR_TESTNET=1
#   VANMOOR_TESTNET_PC_ADDRS   "192.0.2.1 198.51.100.1"
#   VANMOOR_TESTNET_LAN1_PID   a process whose network namespace is lan 1 (same for LAN2)
#   VANMOOR_TESTNET_LAN1_ADDR  the lan side address of lan 1 (same for LAN2)
#   VANMOOR_TESTNET_IN_LAN     path of in-lan.sh: "in-lan.sh 1 cmd..." runs cmd in lan 1
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "$#" -eq 0 ]; then
    echo "usage: testnet.sh COMMAND [ARG...]" >&2
    exit 2
fi

if [ -z "${VANMOOR_TESTNET_INNER:-}" ]; then
    export VANMOOR_TESTNET_INNER=1
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net --fork --kill-child -- bash "$here/testnet.sh" "$@"
    fi
    if unshare --user --map-root-user --net true 2>/dev/null; then
        exec unshare --user --map-root-user --net --fork --kill-child -- bash "$here/testnet.sh" "$@"
    fi
    echo "testnet.sh: cannot create a private network namespace: run as root, or allow" >&2
    echo "unprivileged user namespaces (sysctl kernel.unprivileged_userns_clone=1 or" >&2
    echo "user.max_user_namespaces > 0)." >&2
    exit 77
fi

# From here on we are alone in a fresh network namespace: the pc.
holders=()
cleanup() {
    for pid in "${holders[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

ip link set lo up

pc_addrs=()
lan=1
for net in 192.0.2 198.51.100; do
    unshare --net sleep infinity &
    pid=$!
    holders+=("$pid")
    # Wait until the holder runs in its own namespace before moving a link into it.
    for _ in $(seq 100); do
        [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" != "$(readlink /proc/self/ns/net)" ] && break
        sleep 0.01
    done
    ip link add "lan$lan" type veth peer name "dev$lan"
    ip link set "dev$lan" netns "$pid"
    ip addr add "$net.1/24" broadcast "$net.255" dev "lan$lan"
    ip link set "lan$lan" up
    nsenter --target "$pid" --net -- sh -c "
        ip link set lo up &&
        ip link set dev$lan name eth0 &&
        ip addr add $net.2/24 broadcast $net.255 dev eth0 &&
        ip link set eth0 up &&
        ip route add default dev eth0"
    export "VANMOOR_TESTNET_LAN${lan}_PID=$pid"
    export "VANMOOR_TESTNET_LAN${lan}_ADDR=$net.2"
    pc_addrs+=("$net.1")
    lan=$((lan + 1))
done
# The limited broadcast 255.255.255.255 needs a route; sends are bound to an interface anyway.
ip route add default dev lan1

export VANMOOR_TESTNET=1
export VANMOOR_TESTNET_PC_ADDRS="${pc_addrs[*]}"
export VANMOOR_TESTNET_IN_LAN="$here/in-lan.sh"

set +e
"$@"
status=$?
set -e
exit "$status"
