# Sourced by test.sh and bench.sh beside wayland.sh: starts a private headless GNOME compositor
# (mutter, 1280x1024) as the Wayland tests' unprivileged user, with the session bus and PipeWire
# (and WirePlumber, which links streams) that its remote desktop and screen cast need, all stopped
# when the calling script exits. Exports CW_GNOME_USER, CW_GNOME_RUNTIME_DIR, CW_GNOME_DISPLAY and
# CW_GNOME_BUS for scripts/gnome-run.sh; where mutter cannot start, CW_GNOME_SKIP says why.

source "$(dirname "${BASH_SOURCE[0]}")/wayland.sh"

cw_start_gnome() {
    cw_gnome_pids=()
    cw_gnome_home=""
    unset CW_GNOME_USER CW_GNOME_RUNTIME_DIR CW_GNOME_DISPLAY CW_GNOME_BUS
    export CW_GNOME_SKIP=""
    trap 'cw_stop_gnome; declare -F cw_stop_wayland >/dev/null && cw_stop_wayland
        declare -F cw_stop_display >/dev/null && cw_stop_display' EXIT
    local program
    for program in mutter pipewire wireplumber dbus-daemon; do
        command -v "$program" >/dev/null || { export CW_GNOME_SKIP="$program is not installed"; return 0; }
    done
    local user home runtime bus
    user=$(cw_wayland_account) || { export CW_GNOME_SKIP="the user $CW_WAYLAND_ACCOUNT could not be created"; return 0; }
    home=$(mktemp -d /tmp/cw-gnome.XXXXXX)
    cw_gnome_home=$home
    runtime="$home/runtime"
    bus="unix:path=$runtime/bus"
    mkdir -m 700 "$runtime"
    chmod 755 "$home"
    chown -R "$user" "$home"
    # Each started directly: $! is the program itself (setpriv and env exec it).
    cw_wayland_command "$user" "$runtime" "" "$bus"
    "${cw_command[@]}" dbus-daemon --session --address="$bus" --nofork --nopidfile >"$home/dbus.log" 2>&1 &
    cw_gnome_pids+=($!)
    cw_gnome_wait 100 test -S "$runtime/bus"
    # mutter reads its keyboard layout from the system's locale service: here a German one, on the
    # private bus, so that the tests type through a layout with AltGr and characters US lacks.
    "${cw_command[@]}" /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/locale1.py" "${CW_GNOME_LAYOUT:-de}" \
        >"$home/locale1.log" 2>&1 &
    cw_gnome_pids+=($!)
    cw_gnome_wait 100 cw_gnome_named "$bus" org.freedesktop.locale1
    "${cw_command[@]}" pipewire >"$home/pipewire.log" 2>&1 &
    cw_gnome_pids+=($!)
    cw_gnome_wait 100 test -S "$runtime/pipewire-0"
    "${cw_command[@]}" wireplumber >"$home/wireplumber.log" 2>&1 &
    cw_gnome_pids+=($!)
    "${cw_command[@]}" env DBUS_SYSTEM_BUS_ADDRESS="$bus" mutter --headless --wayland --no-x11 --virtual-monitor 1280x1024 >"$home/mutter.log" 2>&1 &
    cw_gnome_pids+=($!)
    if ! cw_gnome_wait 300 cw_gnome_named "$bus" org.gnome.Mutter.ScreenCast || ! [ -S "$runtime/wayland-0" ]; then
        export CW_GNOME_SKIP="headless mutter did not start: $(grep -v '^$' "$home/mutter.log" | tail -n 3 | tr '\n' ' ')"
        echo "$CW_GNOME_SKIP" >&2
        cw_stop_gnome
        return 0
    fi
    export CW_GNOME_USER=$user CW_GNOME_RUNTIME_DIR=$runtime CW_GNOME_DISPLAY=wayland-0 CW_GNOME_BUS=$bus
}

# cw_gnome_named BUS NAME: whether NAME has an owner on BUS, asked as the session's user.
cw_gnome_named() {
    "${cw_command[@]}" dbus-send --bus="$1" --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:"$2" 2>/dev/null | grep -q "boolean true"
}

# cw_gnome_wait TRIES COMMAND...: runs COMMAND every 50 ms until it succeeds, at most TRIES times.
cw_gnome_wait() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

cw_stop_gnome() {
    local index
    # The last started first: mutter before the bus it speaks on.
    for ((index = ${#cw_gnome_pids[@]} - 1; index >= 0; index--)); do
        kill "${cw_gnome_pids[index]}" 2>/dev/null || true
        wait "${cw_gnome_pids[index]}" 2>/dev/null || true
    done
    cw_gnome_pids=()
    [ -n "${cw_gnome_home:-}" ] && rm -rf "$cw_gnome_home"
    cw_gnome_home=""
}
