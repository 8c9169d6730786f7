#!/usr/bin/env bash
# Keyboard focus lost and regained: while another window has the keyboard, X
# does not restart a lost run; once the game has the keyboard again, X does.
# Usage: focus_test.sh BIN_FOLDER
source "$(dirname "$0")/fault_lib.sh"
start_desktop
game_folder=$(copy_game "$1")
trap 'rm -rf "$game_folder"; stop_desktop' EXIT

# "yOU'rE dEAd." is drawn at (16, 440) only while the run is lost.
dead_shown() {
  screenshot "$WINDOW" "$PERSON_TMP/dead.png"
  lit_in "$PERSON_TMP/dead.png" 16 440 100 14
}
# Waits up to $1 seconds for dead_shown to give $2 (0: shown, 1: not shown).
wait_dead_shown() {
  local result
  for _ in $(seq $(($1 * 4))); do
    set +e
    dead_shown
    result=$?
    set -e
    [ "$result" -eq "$2" ] && return 0
    sleep 0.25
  done
  return 1
}
tap() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}

start_game "$game_folder"
# Untouched, the run ends at the first post, a few seconds in.
wait_dead_shown 30 0 || fail "the run did not end without a jump"

xmessage -geometry +700+600 -name other "another window" &
other_pid=$!
PERSON_PIDS+=("$other_pid")
other=$(wait_window "other" 10 || xdotool search --sync --onlyvisible --class Xmessage | head -n1)
[ -n "$other" ] || fail "the other window did not appear"
xdotool windowactivate --sync "$other"
[ "$(xdotool getactivewindow)" = "$other" ] || fail "the other window did not take the keyboard"
tap x
sleep 1
dead_shown || fail "X pressed in another window restarted the game"

xdotool windowactivate --sync "$WINDOW"
sleep 0.3
tap x
wait_dead_shown 10 1 || fail "X did not restart the game once it had the keyboard again"
close_game "$WINDOW" "$GAME"
echo PASS
