# Sourced by test.sh and bench.sh: starts a private Xvfb (1280x1024x24, or the size given as
# WIDTHxHEIGHT) with openbox, exports DISPLAY, and stops both when the calling script exits.

cw_start_display() {
    local size=${1:-1280x1024}
    cw_xvfb_pid=""
    cw_openbox_pid=""
    trap cw_stop_display EXIT
    # -displayfd lets the server take the first free display number itself and write it back once
    # it accepts connections: no race with another server starting beside, no polling.
    local fifo number log
    fifo=$(mktemp -u)
    log=$(mktemp)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -screen 0 ${size}x24 -nolisten tcp 3>"$fifo" >"$log" 2>&1 &
    cw_xvfb_pid=$!
    number=$(timeout 20 head -n 1 "$fifo" || true)
    rm -f "$fifo"
    if [ -z "$number" ] || ! kill -0 "$cw_xvfb_pid" 2>/dev/null; then
        echo "Xvfb did not start; it said:" >&2
        cat "$log" >&2
        exit 1
    fi
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    openbox --sm-disable >/dev/null 2>&1 &
    cw_openbox_pid=$!
    # openbox names its check window on the root once it manages the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$cw_openbox_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "openbox did not start on $DISPLAY" >&2
    exit 1
}

# Stops the display started last, for another to start.
cw_stop_display() {
    [ -n "${cw_openbox_pid:-}" ] && kill "$cw_openbox_pid" 2>/dev/null || true
    [ -n "${cw_xvfb_pid:-}" ] && kill "$cw_xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
