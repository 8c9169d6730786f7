#!/usr/bin/env bash
# The play command's last step where no window can be opened: with no display
# and with a display out of reach alike it says the same and writes the
# autoplayed demo, 60 frames, instead of starting the game; asked for the
# version, the game answers and no demo is written. The probe it asks finds the
# display the user chose.
# Usage: start_game_test.sh START_GAME_SCRIPT BIN_FOLDER
source "$(dirname "$0")/../person/lib.sh"
script="$1"
bin="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
unset WAYLAND_DISPLAY WAYLAND_SOCKET SDL_VIDEODRIVER

# A display number no X server here listens on.
unreachable=$((90000 + RANDOM % 9000))
while [ -e "/tmp/.X11-unix/X$unreachable" ]; do unreachable=$((unreachable + 1)); done

for display in "" ":$unreachable"; do
  DISPLAY="$display" bash "$script" "$bin" "$work/demo" >"$work/said" 2>&1 ||
    fail "with DISPLAY=\"$display\" it ended with $?: $(cat "$work/said")"
  [ "$(ls "$work/demo" | wc -l)" -eq 60 ] ||
    fail "with DISPLAY=\"$display\" the demo holds $(ls "$work/demo" | wc -l) frames, not 60"
  sed "s#$work#WORK#" "$work/said" >"$work/said-$display"
done
diff "$work/said-" "$work/said-:$unreachable" >&2 || fail "no display and one out of reach said different things"
grep -q '^vtrak: no window can be opened here' "$work/said-" || fail "it said: $(cat "$work/said-")"
rm -rf "$work/demo"
DISPLAY="" bash "$script" "$bin" "$work/demo" -V >"$work/said" 2>&1 || fail "-V ended with $?: $(cat "$work/said")"
grep -qx 'vtrak [0-9.]*' "$work/said" && [ ! -e "$work/demo" ] || fail "asked -V it said: $(cat "$work/said")"

[ "$(SDL_VIDEODRIVER=dummy "$bin/vtrak-tool" display)" = dummy ] ||
  fail "the display probe does not honour SDL_VIDEODRIVER=dummy"
echo PASS
