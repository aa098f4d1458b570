#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test
# suite under its own X server (Xvfb) and window manager (openbox), and the Wayland tests under a
# headless sway and a headless mutter of their own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/deps.sh"
source "$root/scripts/xdisplay.sh"
source "$root/scripts/wayland.sh"
source "$root/scripts/gnome.sh"
cw_ensure_packages "${CW_BUILD_PACKAGES[@]}" "${CW_TEST_PACKAGES[@]}"

echo "== Checking the source format"
mapfile -t sources < <(cd "$root" && git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
(cd "$root" && clang-format --dry-run --Werror "${sources[@]}")

echo "== Building with sanitizers"
build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCW_SANITIZE=ON -DCW_WERROR=ON -DCW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"

echo "== Fuzzing the macro file reader"
# A short run on every test; tests/fuzz/CMakeLists.txt says how to run it for hours.
fuzz="$root/build/fuzz"
cmake -S "$root/tests/fuzz" -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$fuzz" --parallel "$(nproc)"
mkdir -p "$fuzz/corpus"
if ! "$fuzz/fuzz_macrofile" -max_total_time=25 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$fuzz/" \
    "$fuzz/corpus" "$root/tests/fuzz/corpus" >"$fuzz/last-run.log" 2>&1; then
    tail -n 40 "$fuzz/last-run.log" >&2
    echo "The fuzzer found an input that breaks the macro file reader: see $fuzz/crash-*" >&2
    exit 1
fi
tail -n 1 "$fuzz/last-run.log"

echo "== Starting Xvfb and openbox"
cw_start_display
echo "== Starting a headless sway"
cw_start_wayland
echo "== Starting a headless GNOME compositor (mutter)"
cw_start_gnome
# On CI a Wayland or GNOME test that cannot run fails instead of being skipped.
[ -n "${CI:-}" ] && export CW_WAYLAND_REQUIRED=1
# The Wayland tests run as the compositors' user: the test programs must be theirs to read and run.
chmod -R a+rX "$build"

echo "== Running the tests"
# One at a time: tests that press keys on the shared X server would reach other tests' windows.
ctest --test-dir "$build" --output-on-failure --timeout 300
