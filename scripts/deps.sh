# Sourced by run.sh and test.sh: installs the Debian packages a command needs, or, run by
# another user than root, prints the one apt-get line to run and stops.

cw_ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Clickwarden needs these Debian packages; install them as root, then run this command again:" >&2
        echo "  apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}" >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
}

# What building and running the program needs.
CW_BUILD_PACKAGES=(cmake make g++ qt6-base-dev libgl-dev libx11-dev libxtst-dev libxrender-dev libxi-dev libxdamage-dev libxkbcommon-dev libwayland-dev wayland-protocols pkg-config qt6-qpa-plugins qt6-wayland fonts-dejavu-core libpipewire-0.3-dev)
# What the tests and benchmarks need besides: dbus-launch, which starts a bus where a test checks that
# none is started; the Wayland ones run under a headless sway and read what wev receives; wtype, grim
# and foot are the peers the benchmarks and checks compare with. The GNOME ones run under a headless
# mutter with its own session bus, PipeWire and locale service.
CW_TEST_PACKAGES=(xvfb openbox xdotool x11-utils dbus-x11 x11-xkb-utils xkb-data libxfixes-dev libbenchmark-dev clang libclang-rt-14-dev clang-format dpkg-dev
    sway wev grim wtype foot
    mutter pipewire wireplumber dbus-daemon dbus-bin python3-gi)
