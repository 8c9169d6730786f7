#!/usr/bin/env bash
# The game's window as a person meets it: class and title, a client area of
# 640 by 480 that resists resizing, closing ends with 0. (No display:
# command_line_test.sh; a second copy's message: message_box_test.sh.)
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
start_desktop

"$VTRAK" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"

xprop -id "$id" WM_CLASS | grep -q '"dolk"' || fail "WM_CLASS is $(xprop -id "$id" WM_CLASS)"
xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "the window has no 32x32 icon"
size() { xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
[ "$(size)" = "640x480" ] || fail "client area is $(size), not 640x480"
xdotool windowsize "$id" 800 600 || true
sleep 0.5 # nothing is to happen: no event to wait for
[ "$(size)" = "640x480" ] || fail "the window was resized to $(size)"
xprop -id "$id" WM_NORMAL_HINTS | grep -q 'program specified minimum size: 640 by 480' ||
  fail "no fixed size hint: $(xprop -id "$id" WM_NORMAL_HINTS)"

# Closing the window through the window manager ends the game with 0.
close_game "$id" "$game"
echo "PASS"
