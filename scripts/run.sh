#!/usr/bin/env bash
# Builds Clickwarden (release) and starts it; its arguments go to the program, e.g. a macro file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/deps.sh"
cw_ensure_packages "${CW_BUILD_PACKAGES[@]}"

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target clickwarden
exec "$build/bin/clickwarden" "$@"
