#!/usr/bin/env bash
# Runs a GNOME test program (the arguments) as a client of the headless mutter that scripts/gnome.sh
# started, as the user mutter runs as, on mutter's session bus. Without that session the test is
# skipped (status 77), unless CW_WAYLAND_REQUIRED=1 (CI) makes that a failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/gnome.sh"
if [ -z "${CW_GNOME_DISPLAY:-}" ]; then
    reason=${CW_GNOME_SKIP:-"no headless mutter was started (scripts/test.sh starts one; or source scripts/gnome.sh and call cw_start_gnome)"}
    echo "SKIP: GNOME test not run: $reason"
    [ "${CW_WAYLAND_REQUIRED:-0}" = 1 ] && exit 1
    exit 77
fi
cw_wayland_command "$CW_GNOME_USER" "$CW_GNOME_RUNTIME_DIR" "$CW_GNOME_DISPLAY" "$CW_GNOME_BUS"
"${cw_command[@]}" "$@"
