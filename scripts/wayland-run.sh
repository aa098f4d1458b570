#!/usr/bin/env bash
# Runs a Wayland test program (the arguments) as a client of the headless sway that
# scripts/wayland.sh started, as the user sway runs as. Without that session the test is skipped
# (status 77), unless CW_WAYLAND_REQUIRED=1 (CI) makes that a failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wayland.sh"
if [ -z "${CW_WAYLAND_DISPLAY:-}" ]; then
    reason=${CW_WAYLAND_SKIP:-"no headless sway was started (scripts/test.sh starts one; or source scripts/wayland.sh and call cw_start_wayland)"}
    echo "SKIP: Wayland test not run: $reason"
    [ "${CW_WAYLAND_REQUIRED:-0}" = 1 ] && exit 1
    exit 77
fi
cw_as_wayland_user "$CW_WAYLAND_USER" "$CW_WAYLAND_RUNTIME_DIR" "$CW_WAYLAND_DISPLAY" "$@"
