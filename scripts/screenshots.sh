#!/usr/bin/env bash
# Remakes the task editor's screenshots in docs/editor (20 to 22): under a private Xvfb and openbox
# it opens a macro file with a task of every kind (--ask, then Cancel: nothing plays), and takes the
# whole screen with the Insert menu open, with the typing row edited as text, and with the long
# typing row's tool tip.
#   CW_PROGRAM=path/to/clickwarden  use a program already built (else build/release is built)
#   CW_SCREEN=WIDTHxHEIGHT           the screen (820x560, as the pictures in docs/editor)
#   CW_SHOTS=folder                  where the pictures go (docs/editor)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/deps.sh"
source "$root/scripts/xdisplay.sh"
cw_ensure_packages xvfb openbox xdotool x11-apps x11-utils x11-xserver-utils python3

program_path=${CW_PROGRAM:-}
if [ -z "$program_path" ]; then
    cw_ensure_packages "${CW_BUILD_PACKAGES[@]}"
    build="$root/build/release"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target clickwarden
    program_path="$build/bin/clickwarden"
fi
shots=${CW_SHOTS:-$root/docs/editor}
mkdir -p "$shots"
work=$(mktemp -d)
# The program's settings (window place, options) stay out of the user's own.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# A list as a person makes it by hand: a click, a letter typed, a wait, a key, a wheel turn and a drag;
# the options as the program starts with them.
python3 - "$work/editing.#cw" <<'PY'
import sys
text = ("Dear Ms. Kovacs,\n\nThank you for the quote on the new boiler and the fitting. We would like the work "
        "done before the end of March, if your team can manage it.\n")
names = {" ": "space", ",": "comma", ".": "period", "\n": "Return"}
rows = ["312*148*Mouse Click Left**", "**Type " + " ".join(names.get(c, c) for c in text) + "**", "250**Wait**",
        "**Key Control_L+s**", "640*400*Wheel down 3**", "600*300*Left Mouse Pushed**",
        "**Mouse Path 650,320,92 720,340,92 800,355,92**", "780*360*Left Mouse Released**"]
lines = (['"#Quorvel WorksClickwarden 200425"'] + ['"%s"' % row for row in rows]
         + ['"***#Quorvel Works***25***"', "1000", "20", "#FALSE#", "#FALSE#", "#TRUE#"])
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n")
PY

cw_start_display "${CW_SCREEN:-820x560}"
xsetroot -mod 12 12 -fg '#8e44ad' -bg '#f2a51a'
"$program_path" --ask "$work/editing.#cw" &
program=$!
windows() { xdotool search --sync --onlyvisible --pid "$program" --name "$1" | head -n 1; }
main=$(windows '^editing')
# The question before playing, once the splash (1.5 s) has gone: Cancel.
sleep 2
for window in $(xdotool search --onlyvisible --pid "$program"); do
    [ "$window" != "$main" ] && xdotool windowactivate --sync "$window" key Escape
done
# The window at the screen's top left, 640 pixels wide.
xdotool windowactivate --sync "$main" windowmove --sync "$main" 25 24 windowsize --sync "$main" 640 424
sleep 0.5

shoot() {
    sleep "${2:-0.6}"
    xwd -silent -root -out "$work/screen.xwd"
    # The program's popups (menus, tool tips), each taken by itself, over the screen.
    local layers=() window place
    for window in $(xdotool search --onlyvisible --pid "$program"); do
        [ "$window" = "$main" ] && continue
        place=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {print x "," $4}')
        xwd -silent -id "$window" -out "$work/$window.xwd"
        layers+=("$place:$work/$window.xwd")
    done
    python3 "$root/scripts/xwd2png.py" "$shots/$1" "$work/screen.xwd" "${layers[@]}"
    echo "Wrote $shots/$1"
}
# Where things are in the main window (its client area), from the grid's layout.
row2=(405 81)
edit_menu=(57 8)
insert_item=(95 233)

# The typing row's text in its editor, at its end.
xdotool mousemove --window "$main" "${row2[@]}" click 1 sleep 0.3 key F2 sleep 0.3 key End
shoot 21-typing-row-edited-as-text.png
xdotool key Escape sleep 0.3

# The Insert menu, from the Edit menu, with the typing row selected.
xdotool mousemove --window "$main" "${edit_menu[@]}" click 1 sleep 0.4
xdotool mousemove --window "$main" "${insert_item[@]}"
shoot 20-insert-menu.png 2
xdotool key Escape sleep 0.2 key Escape sleep 0.3

# The long row's tool tip: the pointer rests on it.
xdotool mousemove --window "$main" $((row2[0] - 60)) $((row2[1] + 8)) sleep 0.2 mousemove --window "$main" $((row2[0] - 58)) $((row2[1] + 8))
shoot 22-long-row-tool-tip.png 1.5

kill "$program"
wait "$program" || true
rm -rf "$work"
