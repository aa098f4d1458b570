# Sourced by test.sh and bench.sh: starts a private headless sway (1280x1024) as an unprivileged
# user, since sway refuses to run as root, and stops it when the calling script exits. Exports
# CW_WAYLAND_USER, CW_WAYLAND_RUNTIME_DIR and CW_WAYLAND_DISPLAY for scripts/wayland-run.sh, which
# runs a Wayland client as that user; WAYLAND_DISPLAY itself stays unset so that the X11 tests beside
# keep their X11 session. Where sway cannot start, CW_WAYLAND_SKIP says why and the Wayland tests skip.

CW_WAYLAND_ACCOUNT=${CW_WAYLAND_ACCOUNT:-cwwayland}

cw_start_wayland() {
    cw_sway_pid=""
    cw_wayland_home=""
    unset CW_WAYLAND_USER CW_WAYLAND_RUNTIME_DIR CW_WAYLAND_DISPLAY
    export CW_WAYLAND_SKIP=""
    trap 'cw_stop_wayland; declare -F cw_stop_gnome >/dev/null && cw_stop_gnome
        declare -F cw_stop_display >/dev/null && cw_stop_display' EXIT
    if ! command -v sway >/dev/null; then
        export CW_WAYLAND_SKIP="sway is not installed"
        return 0
    fi
    local user
    user=$(cw_wayland_account) || { export CW_WAYLAND_SKIP="the user $CW_WAYLAND_ACCOUNT for sway could not be created"; return 0; }
    local home runtime config log
    home=$(mktemp -d /tmp/cw-wayland.XXXXXX)
    cw_wayland_home=$home
    runtime="$home/runtime"
    config="$home/sway.conf"
    log="$home/sway.log"
    mkdir -m 700 "$runtime"
    # No bar, borders or gaps: a lone window fills the output, so its surface coordinates are the
    # screen's. Clickwarden's own window goes to the scratchpad, out of the way of the test client.
    cat >"$config" <<'CONF'
output * resolution 1280x1024 position 0 0 bg #203040 solid_color
xwayland disable
default_border none
default_floating_border none
focus_follows_mouse no
for_window [app_id="^clickwarden"] move scratchpad
CONF
    chmod 755 "$home"
    chmod 644 "$config"
    chown -R "$user" "$home"
    # Started directly, not through a function in a subshell: $! is then sway itself (setpriv and env exec it).
    cw_wayland_command "$user" "$runtime" ""
    "${cw_command[@]}" env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$config" >"$log" 2>&1 &
    cw_sway_pid=$!
    local socket=""
    for _ in $(seq 200); do
        socket=$(cd "$runtime" && ls wayland-[0-9] 2>/dev/null | head -n 1 || true)
        [ -n "$socket" ] && [ -S "$runtime/$socket" ] && break
        kill -0 "$cw_sway_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ -z "$socket" ] || ! kill -0 "$cw_sway_pid" 2>/dev/null; then
        export CW_WAYLAND_SKIP="headless sway did not start: $(tail -n 3 "$log" | tr '\n' ' ')"
        echo "$CW_WAYLAND_SKIP" >&2
        cw_sway_pid=""
        return 0
    fi
    export CW_WAYLAND_USER=$user CW_WAYLAND_RUNTIME_DIR=$runtime CW_WAYLAND_DISPLAY=$socket
    export CW_WAYLAND_SWAYSOCK
    CW_WAYLAND_SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1)
}

# Prints the user Wayland compositors run as: this one, or when root (which compositors refuse) an
# unprivileged account of the tests' own, made on first use.
cw_wayland_account() {
    if [ "$(id -u)" -ne 0 ]; then
        id -un
        return 0
    fi
    id "$CW_WAYLAND_ACCOUNT" >/dev/null 2>&1 ||
        useradd --system --create-home --home-dir "/var/lib/$CW_WAYLAND_ACCOUNT" --shell /usr/sbin/nologin \
            "$CW_WAYLAND_ACCOUNT" >&2 || return 1
    echo "$CW_WAYLAND_ACCOUNT"
}

# cw_as_wayland_user USER RUNTIME_DIR DISPLAY COMMAND...: runs COMMAND as USER in a Wayland session
# of its own: its runtime directory and home, the Wayland display when given, and no X display.
cw_as_wayland_user() {
    cw_wayland_command "$1" "$2" "$3"
    shift 3
    "${cw_command[@]}" "$@"
}

# Sets cw_command to the command prefix that cw_as_wayland_user runs a command behind; a fourth
# argument is the address of the session bus to give it.
cw_wayland_command() {
    local user=$1 runtime=$2 display=$3 bus=${4:-}
    local environment=(HOME="$runtime" USER="$user" LOGNAME="$user" XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8)
    [ -n "$bus" ] && environment+=(DBUS_SESSION_BUS_ADDRESS="$bus")
    [ -n "$display" ] && environment+=(WAYLAND_DISPLAY="$display" XDG_SESSION_TYPE=wayland
        SWAYSOCK="${CW_WAYLAND_SWAYSOCK:-}")
    local clear=(-u DISPLAY -u XAUTHORITY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE -u SWAYSOCK -u DBUS_SESSION_BUS_ADDRESS)
    cw_command=(env "${clear[@]}" "${environment[@]}")
    [ "$(id -un)" = "$user" ] || cw_command=(setpriv --reuid="$user" --regid="$user" --init-groups "${cw_command[@]}")
}

cw_stop_wayland() {
    if [ -n "${cw_sway_pid:-}" ]; then
        kill "$cw_sway_pid" 2>/dev/null || true
        wait "$cw_sway_pid" 2>/dev/null || true
    fi
    cw_sway_pid=""
    [ -n "${cw_wayland_home:-}" ] && rm -rf "$cw_wayland_home"
    cw_wayland_home=""
}
