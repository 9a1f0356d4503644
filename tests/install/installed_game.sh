#!/usr/bin/env bash
# The game installed into a temporary prefix under DESTDIR and run as a new player would: from
# an unrelated working directory with a fresh HOME, to the title, into a game, back to the menu
# and out through Exit; the save file lands in the player's data folder and nothing new appears
# under the prefix. A second start offers Continue; a save file left beside the binary is taken
# over by a player who has none; the uninstall removes every installed file.
# Usage: installed_game.sh BUILD_DIR SHOT_DIR; run inside xvfb-run.
set -u
build=$1
shots=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/pelmaro-install-XXXXXX)
prefix=/opt/pelmaro
root=$tmp/root
manifest=$build/install_manifest.txt
# The test's install must not replace the manifest of a real `make install` from this build.
[ -f "$manifest" ] && cp "$manifest" "$tmp/saved_manifest"
restore() {
  if [ -f "$tmp/saved_manifest" ]; then cp "$tmp/saved_manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$tmp"
}
trap restore EXIT
mkdir -p "$shots" "$tmp/elsewhere" "$tmp/home"
status=0
fail() { echo "FAIL: $*"; status=1; }

DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
cp "$manifest" "$tmp/manifest"
installed=$root$prefix
for file in bin/pelmaro share/pelmaro/ReadMe.htm share/pelmaro/help/swap.png \
            share/pelmaro/bmp/Logo.jpg share/pelmaro/sound/01.wav share/pelmaro/music/track0.ogg \
            share/icons/hicolor/scalable/apps/pelmaro.svg; do
  [ -f "$installed/$file" ] || fail "not installed: $file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ "$(identify -format %wx%h "$installed/share/icons/hicolor/${size}x${size}/apps/pelmaro.png")" = "${size}x${size}" ] ||
    fail "no ${size}x${size} icon"
done
ls "$installed"/share/applications/*.desktop >/dev/null 2>&1 || fail "no desktop entry"
ls "$installed"/share/metainfo/*.metainfo.xml >/dev/null 2>&1 || fail "no metainfo"
( cd "$root" && find . -printf '%p %s %T@\n' | sort ) >"$tmp/before"

openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# Starts the installed game from the unrelated folder with the given HOME and XDG_DATA_HOME
# (empty: unset) and waits for its window.
start_game() {
  (cd "$tmp/elsewhere" && env -u XDG_DATA_HOME HOME="$1" ${2:+XDG_DATA_HOME=$2} \
     "$installed/bin/pelmaro") >>"$tmp/game.log" 2>&1 &
  game=$!
  window=$(timeout 10 xdotool search --sync --name "Pelmaro v1.0" | head -1)
  [ -n "$window" ] || { fail "no game window"; cat "$tmp/game.log"; exit 1; }
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.5}"; }
shot() { xdotool mousemove --window "$window" 630 5; sleep 0.2; import -window "$window" "$shots/$1.png"; }
# Pixels that differ between two screenshots inside the board's rectangle.
board_changes() {
  convert "$shots/$1.png" -crop 400x400+236+4 +repage "$tmp/a.png"
  convert "$shots/$2.png" -crop 400x400+236+4 +repage "$tmp/b.png"
  compare -metric AE "$tmp/a.png" "$tmp/b.png" null: 2>&1 | cut -d' ' -f1
}
brightness() { convert "$shots/$1.png" -colorspace Gray -format "%[fx:int(100*mean)]" info:; }
wait_end() {
  for _ in $(seq 1 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then fail "the game did not end"; kill "$game"; fi
  wait "$game" || fail "the game ended with an error"
}

# First start: the title, a new game, back to the menu, Exit.
start_game "$tmp/home"
sleep 6                          # the logo gives way to the title
shot install-title
[ "$(brightness install-title)" -gt 20 ] || fail "the title was not drawn from the installed data"
click 320 440 2.5                # the title's play button
click 170 257                    # New game
click 407 402 3.5                # Start; the board drops in
click 60 420 2.5                 # the play screen's menu button
click 170 442 0.5                # Exit
wait_end
save=$tmp/home/.local/share/pelmaro/game.sav
[ "$(stat -c %s "$save" 2>/dev/null)" = 6933 ] || fail "no complete game.sav in the player's data folder"
[ "$(stat -c %a "$tmp/home/.local/share/pelmaro" 2>/dev/null)" = 700 ] ||
  fail "the player's folder is open to others"
( cd "$root" && find . -printf '%p %s %T@\n' | sort ) >"$tmp/after"
diff "$tmp/before" "$tmp/after" >/dev/null || { fail "files changed under the prefix:"; diff "$tmp/before" "$tmp/after"; }
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "files written into the working directory: $(ls -A "$tmp/elsewhere")"

# Second start: Continue resumes the game.
start_game "$tmp/home"
sleep 6
click 320 440 2.5
shot install-menu
click 170 197 2.5                # Continue
shot install-continued
[ "$(board_changes install-menu install-continued)" -gt 50000 ] || fail "Continue did not resume the game"
wmctrl -c "Pelmaro v1.0"
wait_end

# A player without a save of their own, and an old save beside the binary: it is taken over.
cp "$save" "$installed/bin/game.sav"
mkdir -p "$tmp/home2"
start_game "$tmp/home2" "$tmp/xdg"
cmp -s "$save" "$tmp/xdg/pelmaro/game.sav" || fail "the save beside the binary was not taken over"
wmctrl -c "Pelmaro v1.0"
wait_end
kill "$wm" 2>/dev/null
rm -f "$installed/bin/game.sav"

# The uninstall leaves no file of the game behind, and the players' saves where they are.
DESTDIR=$root "$source_dir/scripts/uninstall" "$tmp/manifest" >/dev/null || fail "the uninstall failed"
left=$(find "$root" -type f)
[ -z "$left" ] || fail "left after the uninstall: $left"
[ -d "$installed/share/pelmaro" ] && fail "the data folder was left behind"
[ -f "$save" ] || fail "the uninstall removed a player's save"
exit $status
