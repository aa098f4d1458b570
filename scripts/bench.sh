#!/usr/bin/env bash
# Builds the benchmarks (release, no sanitizers) and runs them under a private Xvfb and openbox,
# and the Wayland ones under a private headless sway and a headless mutter, as their user.
# Arguments go to every benchmark, e.g. --benchmark_repetitions=5.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/deps.sh"
source "$root/scripts/xdisplay.sh"
source "$root/scripts/wayland.sh"
source "$root/scripts/gnome.sh"
cw_ensure_packages "${CW_BUILD_PACKAGES[@]}" "${CW_TEST_PACKAGES[@]}"

build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

cw_start_display
export CW_XSERVER_PID="$cw_xvfb_pid"
for bench in bench_desktop bench_recorder bench_typing bench_player bench_screencheck bench_imagesearch bench_preview bench_grid bench_macrofile; do
    echo "== $bench"
    "$build/bin/$bench" "$@"
done
# The search for a recorded image, and the wait for one that never comes, on larger screens.
for size in 1920x1080 3840x2160; do
    cw_stop_display
    cw_start_display "$size"
    export CW_XSERVER_PID="$cw_xvfb_pid"
    echo "== bench_imagesearch ($size)"
    "$build/bin/bench_imagesearch" "$@"
    if [ "$size" = 3840x2160 ]; then
        echo "== bench_screencheck ($size)"
        "$build/bin/bench_screencheck" --benchmark_filter=FindWaits "$@"
    fi
done

cw_start_wayland
echo "== bench_wayland"
chmod -R a+rX "$build"
"$root/scripts/wayland-run.sh" "$build/bin/bench_wayland" "$@"

cw_start_gnome
echo "== bench_gnome"
"$root/scripts/gnome-run.sh" "$build/bin/bench_gnome" "$@"
