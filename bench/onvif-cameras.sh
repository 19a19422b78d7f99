#!/usr/bin/env bash
# A site of simulated cameras with a device service, read and partly re-addressed through the
# command line: bench/onvif-cameras.sh BUILD_DIR [CONCURRENCY...] inside tests/netns/testnet.sh
# (bench/run.sh does that, once per concurrency). For each concurrency (4, 16 and 64 unless
# given) a fresh simulator plays the site in lan 1; `vanmoor check --user` reads every camera, then `vanmoor assign
# --user` changes and verifies some of them. Prints wall time, vanmoor's peak resident memory
# and the results. VANMOOR_BENCH_CAMERAS (1000) and VANMOOR_BENCH_CHANGED (100) size the site.
set -euo pipefail
if [ "${VANMOOR_TESTNET:-}" != 1 ]; then
    echo "Refusing to run outside the private test network: run bench/run.sh." >&2
    exit 1
fi
build=$(cd "${1:?usage: onvif-cameras.sh BUILD_DIR [CONCURRENCY...]}" && pwd)
shift
concurrencies=("$@")
[ "${#concurrencies[@]}" -gt 0 ] || concurrencies=(4 16 64)
cameras=${VANMOOR_BENCH_CAMERAS:-1000}
changed=${VANMOOR_BENCH_CHANGED:-100}
every=$((cameras / changed))
work=$(mktemp -d)
sim=
trap '[ -z "$sim" ] || kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT

# Cameras in 10.1.0.0/16 with a gateway outside it, which the check finds in every camera it
# reads. Digest logins, every seventh camera WS-Security only; every `every`th camera is changed
# (into 10.1.100.0 on, with a gateway inside), a fifth of those only after a reboot (2 s).
macs=()
for ((i = 0; i < cameras; i++)); do
    mac=$(printf '02:00:5e:10:%02x:%02x' $((i / 256)) $((i % 256)))
    login=digest reboot=off
    ((i % 7 == 0)) && login=wsse
    if ((i % every == 0 && ${#macs[@]} < changed)); then
        macs+=("$mac")
        ((${#macs[@]} % 5 == 0)) && reboot=on
    fi
    echo "protocol=3702 mac=$mac ip=10.1.$((i / 250)).$((i % 250 + 1)) netmask=255.255.0.0" \
        "gateway=10.2.255.1 name=cam$((i + 1)) service=on login=$login user=admin" \
        "password=cam-2026 reboot_needed=$reboot reboot_pause=2000"
done >"$work/site.conf"
mac_list=$(IFS=,; echo "${macs[*]}")
export VANMOOR_PASSWORD=cam-2026

# Runs vanmoor, its output to $work/out and $work/err; prints wall seconds and peak KiB.
timed_vanmoor() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$build/cli/vanmoor" "$@" >"$work/out" 2>"$work/err" ||
        true
    cat "$work/time" | tail -1
}

printf '%d cameras (%d WS-Security only), %d changed (%d after a reboot)\n' "$cameras" \
    "$(grep -c login=wsse "$work/site.conf")" "${#macs[@]}" "$((${#macs[@]} / 5))"
for concurrency in "${concurrencies[@]}"; do
    started=$(date +%s.%N)
    coproc SIM { exec "$VANMOOR_TESTNET_IN_LAN" 1 "$build/tools/devsim/vanmoor-devsim" \
        --config "$work/site.conf" --ready; }
    sim=$SIM_PID
    read -r _ <&"${SIM[0]}"
    ready=$(date +%s.%N)
    status=$(cat "/proc/$sim/status")
    echo "concurrency $concurrency"
    printf '  simulator ready in %.1f s, %s threads, %s MiB resident\n' \
        "$(echo "$ready - $started" | bc)" "$(awk '/^Threads/ {print $2}' <<<"$status")" \
        "$(awk '/^VmRSS/ {printf "%.0f", $2 / 1024}' <<<"$status")"

    read -r wall peak < <(timed_vanmoor check --user admin --concurrency "$concurrency")
    # Every camera found is outside the host's subnet; every one read has the wrong gateway.
    found=$(grep -c '"finding": "unreachable"' "$work/out" || true)
    read=$(grep -c '"finding": "bad settings"' "$work/out" || true)
    printf '  check:  %6.1f s wall (with the 1.5 s search), %5.1f ms a camera, %s MiB peak: %d found, %d read\n' \
        "$wall" "$(echo "($wall - 1.5) * 1000 / $cameras" | bc -l)" "$((peak / 1024))" \
        "$found" "$read"
    (grep -o '^vanmoor: camera [^:]*: .\{0,60\}' "$work/err" || true) | cut -d: -f3- | sort |
        uniq -c | sort -rn | head -2

    read -r wall peak < <(timed_vanmoor assign --mac "$mac_list" --from 10.1.100.1 \
        --netmask 255.255.0.0 --gateway 10.1.255.1 --allow-other-subnet --user admin --concurrency "$concurrency" --output json)
    results=$( (grep -o '"result": "[a-z ]*"' "$work/out" || true) | cut -d'"' -f4 | sort | uniq -c |
        awk '{n = $1; $1 = ""; printf "%s%s %d", sep, substr($0, 2), n; sep = ", "}')
    printf '  assign: %6.1f s wall, %5.1f ms a camera, %s MiB peak: %s\n' "$wall" \
        "$(echo "$wall * 1000 / ${#macs[@]}" | bc -l)" "$((peak / 1024))" \
        "${results:-no results}"
    (grep -v -e '^\[' -e 'which this host cannot reach' "$work/err" || true) | sort | uniq -c |
        sort -rn | head -3
    kill "$sim"
    wait "$sim" || true
    sim=
done
