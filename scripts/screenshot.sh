#!/usr/bin/env bash
# Makes the README's screenshot, docs/main-window.png: under a private Xvfb and openbox it records
# clicks, a double click and a drag on a patterned desktop, picks the second task so that its
# picture shows, and saves the main window with its frame.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/deps.sh"
source "$root/scripts/xdisplay.sh"
cw_ensure_packages "${CW_BUILD_PACKAGES[@]}" xvfb openbox xdotool x11-apps x11-xserver-utils python3

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target clickwarden

cw_start_display
xsetroot -mod 12 12 -fg '#8e44ad' -bg '#f2a51a'
"$build/bin/clickwarden" &
program=$!
windows() { xdotool search --sync --onlyvisible --pid "$program" --name "$1" | head -n 1; }
main=$(windows '^#Quorvel Works')
# The splash shows after the main window and goes away (window and all) when it closes.
until [ "$(xdotool search --pid "$program" | wc -l)" -eq 1 ]; do sleep 0.1; done

# Human speed: the recorder samples the buttons every 20 ms.
press() { xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.08 mouseup 1 sleep 0.4; }
xdotool windowactivate --sync "$main" key ctrl+shift+F12
press 760 170
xdotool mousemove 900 260 sleep 0.2 mousedown 1 sleep 0.05 mouseup 1 sleep 0.04 mousedown 1 sleep 0.05 mouseup 1 sleep 0.4
press 1000 200
xdotool mousemove 780 360 mousedown 1 sleep 0.15 mousemove 900 380 sleep 0.05 mousemove 1050 390 sleep 0.15 mouseup 1 sleep 0.4
xdotool keydown ctrl+shift+F12 sleep 0.3 keyup ctrl+shift+F12
xdotool windowactivate --sync "$(windows '^Clickwarden 2004$')" key Return
main=$(windows '^#Quorvel Works')
xdotool windowactivate --sync "$main" mousemove --window "$main" 100 95 click 1 mousemove 1270 1010 sleep 0.3

# The window manager's frame holds the main window: the screenshot takes the frame.
frame=$main
root_window=$(xwininfo -root | awk '/Window id:/ {print $4}')
while parent=$(xwininfo -tree -id "$frame" | awk '/Parent window id:/ {print $4}') && [ "$parent" != "$root_window" ]; do
    frame=$parent
done
shot=$(mktemp)
xwd -silent -id "$frame" -out "$shot"
xdotool key ctrl+q
wait "$program"
python3 "$root/scripts/xwd2png.py" "$root/docs/main-window.png" "$shot"
rm -f "$shot"
echo "Wrote $root/docs/main-window.png"
