#!/usr/bin/env bash
# The Windows command line and library under Wine, in the private test network, against the
# Linux device simulator: both protocols and WS-Discovery (its cameras merged with the device
# protocols' answers, and alone) found through both interfaces, each device credited
# only to the local address of the lan it sits on (also with two addresses on one interface),
# and settings commands (plain and with a
# digest) change simulated devices; the log files' places; the endpoint socket's tests; and the
# WinHTTP transport's tests against the scripted web server of tests/onvif, and the device
# service's session and client against simulated cameras.
#
#   wine-network.sh WINDOWS_BIN_DIR DEVSIM_PROGRAM SCRIPTED_HTTP_SERVER
#
# Starts its own test network (tests/netns/testnet.sh) and, inside it, a fresh Wine prefix in a
# temporary folder, so that no wineserver from outside the namespace is reused. Names, a
# password and the watch's end on a closed console check the program's UTF-16 arguments and
# environment and its console handler. Last, the dialog program kestrun.exe, driven by window
# messages, finds the devices (and the WS-Discovery cameras), renames one and gives it a new
# address through "Assign addresses...", and then assigns addresses over a mixed site whose
# cameras it reads through their device service.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=$(cd "$1" && pwd)
devsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
http_server=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")

if [ -z "${VANMOOR_TESTNET:-}" ]; then
    exec "$here/../netns/testnet.sh" "$here/wine-network.sh" "$bin" "$devsim" "$http_server"
fi

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the Unix arguments and environment in the locale's character set: UTF-8, so that
# non-ASCII text reaches the Windows side intact (as UTF-16; the ANSI code page cannot hold it).
export LC_ALL=C.UTF-8
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
camera_failed=0

# The device service through WinHTTP, BCrypt and XmlLite: the cameras of tests/onvif/cameras.conf,
# alone in lan 1 (a fresh simulator for each part, as both change cameras) until the lans'
# simulators start. Every camera's password is "Öffne-mich 1".
start_cameras() {
    exec {out}< <(exec "$VANMOOR_TESTNET_IN_LAN" 1 "$devsim" \
        --config "$here/../onvif/cameras.conf" --ready)
    cameras=$!
    sims+=("$cameras")
    read -r ready <&"$out"
    [[ "$ready" == "vanmoor-devsim ready"* ]]
}
stop_cameras() {
    kill "$cameras"
    wait "$cameras" 2>/dev/null || true
}
# vanmoor.exe with the password `camera_password`: its exit status must be `status`, its output
# hold `text`.
camera_password='Öffne-mich 1'
camera_run() {
    local label="$1" status="$2" text="$3" got=0
    shift 3
    VANMOOR_PASSWORD="$camera_password" wine "$bin/vanmoor.exe" "$@" >"$work/out" 2>&1 || got=$?
    if [ "$got" -eq "$status" ] && tr -d '\r' <"$work/out" | grep -q -F -- "$text"; then
        echo "ok: $label"
    else
        echo "FAIL: $label (exit $got, expected $status and \"$text\")" >&2
        cat "$work/out" >&2
        camera_failed=1
    fi
}

if start_cameras &&
    VANMOOR_ONVIF_CAMERAS=1 wine "$bin/vanmoor_onvif_camera_tests.exe" --gtest_brief=1 |
    tr -d '\r'; then
    echo "ok: the device service of Digest, UsernameToken, rebooting, ignoring and hostile cameras"
else
    echo "FAIL: vanmoor_onvif_camera_tests" >&2
    camera_failed=1
fi
stop_cameras

start_cameras || camera_failed=1
# The host name comes from the device service alone.
camera_run "show reads a camera of Digest alone" 0 '"hostname": "sim-000771"' \
    show 192.0.2.71 --user admin --output json --wait 1000
camera_run "show reads a camera of UsernameToken alone, its clock an hour ahead" 0 \
    '"hostname": "sim-000772"' show 192.0.2.72 --user admin --output json --wait 1000
camera_password=wrong camera_run "show with a wrong password exits 1" 1 \
    'refused the user name and password' show 192.0.2.71 --user admin --wait 1000
camera_run "set of a camera that needs a reboot, verified at its new address" 0 \
    'shows the new settings' set 192.0.2.72 --user admin --ip 192.0.2.92 --wait 1000 \
    --verify-wait 8
camera_run "set of a camera that ignores the change exits 1" 1 \
    'kept: the camera said OK but kept its settings' \
    set 192.0.2.73 --user admin --name Porch --wait 1000 --verify-wait 3
stop_cameras

# One device of each protocol per lan; the replies come by broadcast, by subnet broadcast and
# by unicast, so each way must reach the endpoint of its own interface. A camera per lan answers
# WS-Discovery alone, and Lobby answers it too.
cat >"$work/lan1.conf" <<'CONF'
protocol=4022,3702 mac=02:00:5e:00:01:01 ip=192.0.2.10 gateway=192.0.2.1 name="Lobby" port=80 reply=broadcast
protocol=32970 mac=02:00:5e:00:01:02 ip=192.0.2.20 gateway=192.0.2.1 name="Dome" port=80 user=admin password=secret reply=unicast
protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 name="Porch"
CONF
cat >"$work/lan2.conf" <<'CONF'
protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10 gateway=198.51.100.1 name="Gate" port=8080 reply=subnet
protocol=32970 mac=02:00:5e:00:02:02 ip=198.51.100.20 gateway=198.51.100.1 name="Yard" port=80 user=admin password=κλειδί reply=broadcast
protocol=3702 mac=02:00:5e:00:03:02 ip=198.51.100.30 name="Quay" service=on reboot_needed=on user=admin password=quay-2026
CONF
# Each lan's simulator, apart from the others that `sims` holds for the cleanup.
lan_sims=()
for lan in 1 2; do
    exec {out}< <(exec "$VANMOOR_TESTNET_IN_LAN" "$lan" "$devsim" --config "$work/lan$lan.conf" --ready)
    lan_sims[$lan]=$!
    sims+=($!)
    read -r ready <&"$out"
    echo "lan $lan: $ready"
done

# Wine's first start in the new prefix takes a while; it opens no socket.
start=$SECONDS
wine "$bin/vanmoor.exe" --help >/dev/null
echo "Wine prefix ready after $((SECONDS - start)) s"

failed=$camera_failed
if wine "$bin/vanmoor_windows_socket_tests.exe" --gtest_brief=1 | tr -d '\r'; then
    echo "ok: the endpoint socket's receive failure and wake-up"
else
    echo "FAIL: vanmoor_windows_socket_tests" >&2
    failed=1
fi

# The scripted web server answers in lan 1, beside the simulator.
exec {out}< <(exec "$VANMOOR_TESTNET_IN_LAN" 1 "$http_server" "$here/../onvif/self-signed.crt" \
    "$here/../onvif/self-signed.key")
sims+=($!)
read -r ready <&"$out"
if [ "$ready" = ready ] &&
    VANMOOR_SCRIPTED_HTTP_HOST="$VANMOOR_TESTNET_LAN1_ADDR" \
        wine "$bin/vanmoor_onvif_transport_tests.exe" --gtest_brief=1 | tr -d '\r'; then
    echo "ok: the WinHTTP transport against the scripted web server"
else
    echo "FAIL: vanmoor_onvif_transport_tests" >&2
    failed=1
fi

# By address: the cameras found by WS-Discovery alone have no MAC to sort by.
scan() {
    wine "$bin/vanmoor.exe" scan --output csv --fields mac,protocol,local_address,name \
        --sort ip "$@" | tr -d '\r'
}
expect_scan() {
    local label="$1" expected="$2" found
    found=$(scan "${@:3}")
    if [ "$found" != "$expected" ]; then
        echo "FAIL: $label" >&2
        diff <(echo "$expected") <(echo "$found") >&2 || true
        failed=1
    else
        echo "ok: $label"
    fi
}

expect_scan "both protocols and WS-Discovery through both interfaces, each on its own lan only" \
"mac,protocol,local_address,name
02:00:5e:00:01:01,4022,192.0.2.1,Lobby
02:00:5e:00:01:02,32970,192.0.2.1,Dome
,3702,192.0.2.1,Porch
02:00:5e:00:02:01,4022,198.51.100.1,Gate
02:00:5e:00:02:02,32970,198.51.100.1,Yard
,3702,198.51.100.1,Quay"
expect_scan "WS-Discovery alone through both interfaces" \
"mac,protocol,local_address,name
,3702,192.0.2.1,Lobby
,3702,192.0.2.1,Porch
,3702,198.51.100.1,Quay" --protocol 3702

# Each command searches again until the device answers with its new settings.
run() {
    local label="$1"
    shift
    if wine "$bin/vanmoor.exe" "$@" >"$work/out" 2>&1; then
        echo "ok: $label"
    else
        echo "FAIL: $label" >&2
        cat "$work/out" >&2
        failed=1
    fi
}
# The name and the password are not ASCII: they arrive as UTF-8, not in the ANSI code page.
run "set on port 4022" set 02:00:5e:00:01:01 --name 'Café 東' --port 8081
VANMOOR_PASSWORD=κλειδί run "set_MD5 on port 32970" set 02:00:5e:00:02:02 --user admin \
    --name Shed --ip 198.51.100.21

expect_scan "the changed settings in a new search" \
"mac,protocol,local_address,name
02:00:5e:00:01:01,4022,192.0.2.1,Café 東
02:00:5e:00:01:02,32970,192.0.2.1,Dome
,3702,192.0.2.1,Porch
02:00:5e:00:02:01,4022,198.51.100.1,Gate
02:00:5e:00:02:02,32970,198.51.100.1,Shed
,3702,198.51.100.1,Quay"

# A second address on lan1's interface: each broadcast reply is taken once and credited to the
# address whose subnet holds the device.
ip addr add 203.0.113.1/24 broadcast 203.0.113.255 dev lan1
# lan1's simulator starts again with two devices of the new subnet beside the first two.
kill "${lan_sims[1]}"
wait "${lan_sims[1]}" 2>/dev/null || true
cat >"$work/lan1.conf" <<'CONF'
protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 gateway=192.0.2.1 name="Hall" port=8081 reply=broadcast
protocol=32970 mac=02:00:5e:00:01:02 ip=192.0.2.20 gateway=192.0.2.1 name="Dome" port=80 user=admin password=secret reply=unicast
protocol=4022 mac=02:00:5e:00:01:03 ip=203.0.113.10 name="Mast" port=80 reply=broadcast
protocol=32970 mac=02:00:5e:00:01:04 ip=203.0.113.20 name="Pier" port=80 reply=broadcast
CONF
exec {out}< <(exec "$VANMOOR_TESTNET_IN_LAN" 1 "$devsim" --config "$work/lan1.conf" --ready)
lan_sims[1]=$!
sims+=($!)
read -r ready <&"$out"
expect_scan "two addresses on one interface, each device credited to its own" \
"mac,protocol,local_address,name
02:00:5e:00:01:01,4022,192.0.2.1,Hall
02:00:5e:00:01:02,32970,192.0.2.1,Dome
02:00:5e:00:02:01,4022,198.51.100.1,Gate
02:00:5e:00:02:02,32970,198.51.100.1,Shed
,3702,198.51.100.1,Quay
02:00:5e:00:01:03,4022,203.0.113.1,Mast
02:00:5e:00:01:04,32970,203.0.113.1,Pier"
ip addr del 203.0.113.1/24 dev lan1

# The log files keep their Windows places: C:\LogConfig.txt switches the file on, the library
# writes C:\Log.txt in text mode (CR LF line ends), each line after its time; VANMOOR_LOG_DIR
# still wins.
drive_c="$WINEPREFIX/drive_c"
printf 'file 1\r\n' >"$drive_c/LogConfig.txt"
scan >/dev/null
if grep -q $'  deinit() end\r$' "$drive_c/Log.txt" 2>/dev/null &&
    grep -q 'CBroadCastItem::SendPacket port = 32970' "$drive_c/Log.txt"; then
    echo "ok: C:\\Log.txt written as LogConfig.txt asks"
else
    echo "FAIL: no C:\\Log.txt with the search's lines and CR LF line ends" >&2
    failed=1
fi
mkdir "$drive_c/logs"
printf 'file 1\r\n' >"$drive_c/logs/LogConfig.txt"
rm "$drive_c/Log.txt"
VANMOOR_LOG_DIR='C:\logs' scan >/dev/null
if grep -q 'deinit() end' "$drive_c/logs/Log.txt" 2>/dev/null && [ ! -e "$drive_c/Log.txt" ]; then
    echo "ok: VANMOOR_LOG_DIR names the log folder"
else
    echo "FAIL: VANMOOR_LOG_DIR was not followed" >&2
    failed=1
fi

# Closing the console: Windows ends the process when the console handler returns, so the
# handler holds it until `watch` has ended its JSON document and handed over its log lines.
(cd "$work" && exec wine "$bin/vanmoor.exe" --log=watch.log watch --output json \
    --interval 0.2 >watch.json 2>watch.err) &
watcher=$!
for _ in $(seq 600); do
    grep -q '02:00:5e:00:02:02' "$work/watch.json" 2>/dev/null && break
    sleep 0.1
done
closed=0
wine "$bin/vanmoor_windows_close_console.exe" vanmoor.exe || closed=$?
wait "$watcher" || true
if [ "$closed" -eq 0 ] && [ "$(tail -n 1 "$work/watch.json" | tr -d '\r')" = "]}" ] &&
    grep -q '02:00:5e:00:02:02' "$work/watch.json" && grep -q 'deinit() end' "$work/watch.log"; then
    echo "ok: a closed console ends watch with its JSON document and log lines complete"
else
    echo "FAIL: watch ended by a closed console left its document or log unfinished" >&2
    tail -n 3 "$work/watch.json" "$work/watch.err" >&2 || true
    failed=1
fi

# The dialog program with the real library, on a virtual display of its own: its first search
# lists the devices of both lans and lan2's WS-Discovery camera, marked, and a submit renames one,
# as the next searches show; Quay is read through its device service and moved to the next
# address, after a restart. Wine's desktop started without a display for the console programs:
# it starts again with this one.
kestrun=$(winepath -w "$bin/kestrun.exe")
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if xvfb-run -a wine "$bin/kestrun_windows_network_driver.exe" "$kestrun" Hall Foyer \
    Hall Dome Gate Shed 'Quay [WS-Discovery]' --camera 'Quay [WS-Discovery]' admin quay-2026 |
    tr -d '\r' && scan | grep -q ',Foyer$'; then
    echo "ok: kestrun.exe finds, changes and finds again"
else
    echo "FAIL: kestrun.exe in the test network" >&2
    failed=1
fi
# C:\LogConfig.txt (above) switches the program's own log on: C:\Quillon.txt, CR LF line ends.
if grep -q $'CIpEditDlg::OnCancel() end\r$' "$drive_c/Quillon.txt" 2>/dev/null; then
    echo "ok: kestrun.exe writes C:\\Quillon.txt as LogConfig.txt asks"
else
    echo "FAIL: no C:\\Quillon.txt with the program's closing lines" >&2
    failed=1
fi

# "Assign addresses..." over a mixed site alone in lan 1: both device protocols and three
# cameras read through their device service, one taking its new address at a reboot, one keeping
# its settings, one with another password (left out, refused).
for lan in 1 2; do
    kill "${lan_sims[$lan]}"
    wait "${lan_sims[$lan]}" 2>/dev/null || true
done
cat >"$work/lan1.conf" <<'CONF'
protocol=4022 mac=02:00:5e:00:05:01 ip=192.0.2.10 name="Hall" port=80
protocol=32970 mac=02:00:5e:00:05:02 ip=192.0.2.11 name="Dome" port=80 user=admin password=site-pass
protocol=3702 mac=02:00:5e:00:05:03 ip=192.0.2.31 name="Porch" service=on reboot_needed=on reboot_pause=500 user=admin password=site-pass
protocol=3702 mac=02:00:5e:00:05:04 ip=192.0.2.32 name="Stubborn" service=on changes=ignore user=admin password=site-pass
protocol=3702 mac=02:00:5e:00:05:05 ip=192.0.2.33 name="Locked" service=on user=admin password=other-pass
CONF
exec {out}< <(exec "$VANMOOR_TESTNET_IN_LAN" 1 "$devsim" --config "$work/lan1.conf" --ready)
sims+=($!)
read -r ready <&"$out"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if xvfb-run -a wine "$bin/kestrun_windows_network_driver.exe" --site "$kestrun" admin site-pass \
    192.0.2.50 02:00:5E:00:05:01=changed 02:00:5E:00:05:02=changed 02:00:5E:00:05:03=changed \
    02:00:5E:00:05:04=kept 192.0.2.33=refused | tr -d '\r'; then
    echo "ok: kestrun.exe assigns addresses to a mixed site"
else
    echo "FAIL: kestrun.exe's assign over a mixed site" >&2
    failed=1
fi
site=$(wine "$bin/vanmoor.exe" scan --output csv --fields ip,name --sort ip | tr -d '\r')
if [ "$site" = "ip,name
192.0.2.32,Stubborn
192.0.2.33,Locked
192.0.2.50,Hall
192.0.2.51,Dome
192.0.2.52,Porch" ]; then
    echo "ok: the mixed site at its assigned addresses"
else
    echo "FAIL: the mixed site after kestrun.exe's assign:" >&2
    echo "$site" >&2
    failed=1
fi

exit "$failed"
