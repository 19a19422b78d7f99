# Sourced by the screenshot scripts: start_virtual_display WIDTHxHEIGHT starts Xvfb on a free
# display number, exports DISPLAY for it, and stops it when the script exits.
start_virtual_display() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 "$1x24" -br -nolisten tcp >/dev/null 2>&1 &
    VANMOOR_XVFB_PID=$!
    trap 'kill "$VANMOOR_XVFB_PID" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.05
    done
    export DISPLAY=$display
}
