#!/usr/bin/env bash
# The game's window as a person meets it: class and title, a client area of
# 640 by 480 that resists resizing, one copy at a time, closing ends with 0,
# and no display ends with 1 and a clear message.
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
start_desktop

# Without any display: one clear line and status 1.
set +e
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$VTRAK" 2>&1 >/dev/null)
status=$?
set -e
[ "$status" -eq 1 ] || fail "without a display the exit status was $status, not 1"
case "$message" in "vtrak: no display"*) ;; *) fail "without a display it said: $message" ;; esac
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || fail "more than one line: $message"

"$VTRAK" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"

xprop -id "$id" WM_CLASS | grep -q '"dolk"' || fail "WM_CLASS is $(xprop -id "$id" WM_CLASS)"
xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "the window has no 32x32 icon"
size() { xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
[ "$(size)" = "640x480" ] || fail "client area is $(size), not 640x480"
xdotool windowsize "$id" 800 600 || true
sleep 0.5
[ "$(size)" = "640x480" ] || fail "the window was resized to $(size)"
xprop -id "$id" WM_NORMAL_HINTS | grep -q 'program specified minimum size: 640 by 480' ||
  fail "no fixed size hint: $(xprop -id "$id" WM_NORMAL_HINTS)"

# A second copy shows the message box and ends with 0 once it is closed.
before=$(top_level_windows)
"$VTRAK" &
second=$!
box=$(wait_new_client "$before" "$second") || fail "the second copy showed no message box"
kill -0 "$game" 2>/dev/null || fail "the first copy ended"
close_message_box "$box"
set +e
wait "$second"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the second copy ended with $status"

# Closing the window through the window manager ends the game with 0.
close_game "$id" "$game"
echo "PASS"
