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
dead_gone() { ! dead_shown; }

start_game "$game_folder"
# Untouched, the run ends at the first post, a few seconds in.
wait_for dead_shown || fail "the run did not end without a jump"

xmessage -geometry +700+600 -name other "another window" &
other_pid=$!
PERSON_PIDS+=("$other_pid")
other=$(wait_window "other") || fail "the other window did not appear"
xdotool windowactivate --sync "$other"
[ "$(xdotool getactivewindow)" = "$other" ] || fail "the other window did not take the keyboard"
# Nothing is to happen, so there is no event to wait for: a second of X held,
# some 60 frames, in which the game must not take it.
xdotool keydown x
sleep 1
dead_shown || fail "X pressed in another window restarted the game"
xdotool keyup x

# X held down from the moment the game has the keyboard again until the run
# restarts, however long the game takes to poll it.
xdotool windowactivate --sync "$WINDOW"
xdotool keydown x
wait_for dead_gone || fail "X did not restart the game once it had the keyboard again"
xdotool keyup x
close_game "$WINDOW" "$GAME"
echo PASS
