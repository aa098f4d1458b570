# Sourced by test.sh and bench.sh: starts a private Xvfb (1280x1024x24) with openbox on a free
# display number, exports DISPLAY, and stops both when the calling script exits.

cw_start_display() {
    cw_xvfb_pid=""
    cw_openbox_pid=""
    trap cw_stop_display EXIT
    local number display=""
    for number in $(seq 91 120); do
        if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
            display=":$number"
            break
        fi
    done
    [ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
    Xvfb "$display" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    cw_xvfb_pid=$!
    for _ in $(seq 100); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
    export DISPLAY="$display"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    openbox --sm-disable >/dev/null 2>&1 &
    cw_openbox_pid=$!
    sleep 0.5
}

cw_stop_display() {
    [ -n "${cw_openbox_pid:-}" ] && kill "$cw_openbox_pid" 2>/dev/null || true
    [ -n "${cw_xvfb_pid:-}" ] && kill "$cw_xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
