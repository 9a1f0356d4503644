#!/usr/bin/env bash
# The real game under Xvfb with a window manager: clicked from the title into a game, a piece
# selected, moves made, screenshots taken, and closed with the close request, which saves the game.
# Usage: play_e2e.sh GAME_DIR SHOT_DIR; run inside xvfb-run.
set -u
game_dir=$1
shots=$2
run=$(mktemp -d /tmp/pelmaro-e2e-XXXXXX)
trap 'rm -rf "$run"' EXIT
for entry in bmp sound music ReadMe.htm; do ln -s "$game_dir/$entry" "$run/$entry"; done
mkdir -p "$shots"

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$run" && exec "$game_dir/pelmaro") >"$run/game.log" 2>&1 &
game=$!
window=$(timeout 10 xdotool search --sync --name "Pelmaro v1.0" | head -1)
[ -n "$window" ] || { echo "no game window"; exit 1; }

# Clicks at picture coordinates inside the window's client area.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.5}"; }
# Pixels that differ between two screenshots inside the board's rectangle.
board_changes() {
  convert "$1" -crop 400x400+236+4 +repage "$run/a.png"
  convert "$2" -crop 400x400+236+4 +repage "$run/b.png"
  compare -metric AE "$run/a.png" "$run/b.png" null: 2>&1 | cut -d' ' -f1
}

sleep 6                         # the logo gives way to the title, which falls into place
import -window "$window" "$shots/e2e-title.png"
click 320 440 2.5               # the title's play button
click 170 257                   # New game
click 317 129                   # Timed
click 407 402 3.5               # Start; the board drops in
xdotool mousemove --window "$window" 600 470
import -window "$window" "$shots/e2e-play.png"
click 411 229                   # a piece in the middle of the board: selected, it bounces in its frame
xdotool mousemove --window "$window" 600 470; sleep 0.2
import -window "$window" "$shots/e2e-selected.png"
click 411 229                   # the same piece again: put back down
# A few swaps down the top edge; whether one makes a line depends on the dealt board, so they
# only exercise the moves (the in-process tests check scoring on known boards).
for column in 0 1 2 3 4 5 6 7; do  # a few swaps down the left edge
  click $((261 + 50 * column)) 29 0.3
  click $((261 + 50 * column)) 79 0.8
done
xdotool mousemove --window "$window" 600 470; sleep 0.3
import -window "$window" "$shots/e2e-after-moves.png"
import -window root "$shots/e2e-desktop.png"

wmctrl -c "Pelmaro v1.0"
for _ in $(seq 1 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
status=0
if kill -0 "$game" 2>/dev/null; then echo "the game did not end on the close request"; kill "$game"; status=1; fi
wait "$game" || { echo "the game ended with an error"; status=1; }
kill "$wm" 2>/dev/null
size=$(stat -c %s "$run/game.sav" 2>/dev/null || echo 0)
[ "$size" = 6933 ] || { echo "no complete game.sav after closing ($size bytes)"; status=1; }
# The board replaced the title, and the click selected a piece on it.
[ "$(board_changes "$shots/e2e-title.png" "$shots/e2e-play.png")" -gt 50000 ] ||
  { echo "the play screen was never shown"; status=1; }
[ "$(board_changes "$shots/e2e-play.png" "$shots/e2e-selected.png")" -gt 300 ] ||
  { echo "the click selected no piece"; status=1; }
exit $status
