#!/usr/bin/env bash
# The game's window as a person meets it: class and title, a client area of
# 640 by 480 that resists resizing, full screen on F11 and back on Alt+Enter
# (remembered in the settings file, whose bad lines are named), a scale from
# that file made to fit the screen, the window wholly on it, a junk GDK_SCALE
# named and ignored, closing ends with 0. (No display: command_line_test.sh; a second
# copy's message: message_box_test.sh.)
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
start_desktop -screen 0 1400x1000x24
export XDG_CONFIG_HOME="$PERSON_TMP/config"
mkdir -p "$XDG_CONFIG_HOME/vtrak"
conf="$XDG_CONFIG_HOME/vtrak/vtrak.conf"

"$VTRAK" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"

grep -q '"dolk"' <<<"$(xprop -id "$id" WM_CLASS)" || fail "WM_CLASS is $(xprop -id "$id" WM_CLASS)"
grep -q 'Icon (32 x 32)' <<<"$(xprop -id "$id" _NET_WM_ICON)" || fail "the window has no 32x32 icon"
size() { xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
[ "$(size)" = "640x480" ] || fail "client area is $(size), not 640x480"
xdotool windowsize "$id" 800 600 || true
sleep 0.5 # nothing is to happen: no event to wait for
[ "$(size)" = "640x480" ] || fail "the window was resized to $(size)"
grep -q 'program specified minimum size: 640 by 480' <<<"$(xprop -id "$id" WM_NORMAL_HINTS)" ||
  fail "no fixed size hint: $(xprop -id "$id" WM_NORMAL_HINTS)"

size_is() { [ "$(size)" = "$1" ]; }
where() { xwininfo -id "$id" | awk '/Absolute upper-left [XY]:/ {printf "%s ", $4}'; }
before=$(where)
screenshot "$id" "$PERSON_TMP/window.png"
# Full screen: twice the size, centred (60, 20 from the corner), black around,
# each game pixel a 2x2 square, the same picture as the window's.
xdotool windowactivate --sync "$id" key F11
wait_for size_is 1400x1000 || fail "F11 left the client area at $(size)"
wait_for grep -qx 'fullscreen = true' "$conf" || fail "full screen not remembered in $conf"
screen="$PERSON_TMP/screen.png"
t="$PERSON_TMP"
# The screen once the game presents at its new size: black around the
# picture, and each game pixel a solid 2x2 square (a frame the game presented
# before the window's new size reached it may still be on the screen at
# first, so the check is repeated until a later frame has replaced it).
wrong="no screenshot"
picture_crisp() {
  import -window root "$screen" || return 1
  [ "$(convert "$screen" -fill black -draw 'rectangle 60,20 1339,979' -alpha off -format '%[max]' info:)" = 0 ] ||
    { wrong="the screen around the picture is not black"; return 1; }
  convert "$screen" -crop 1280x960+60+20 +repage "$t/picture.png"
  convert "$t/picture.png" -sample 50% "$t/once.png"
  convert "$t/once.png" -sample 200% "$t/twice.png"
  wrong=$(compare -metric AE "$t/picture.png" "$t/twice.png" null: 2>&1) || true
  [ "$wrong" = 0 ] || { wrong="$wrong screen pixels are not their game pixel's 2x2 square"; return 1; }
}
wait_for picture_crisp || fail "$wrong"
# The help line at the bottom holds still: the same pixels as in the window.
for frame in once window; do convert "$t/$frame.png" -crop 640x40+0+440 "$t/$frame-help.png"; done
wrong=$(compare -metric AE "$t/once-help.png" "$t/window-help.png" null: 2>&1) || true
[ "$wrong" = 0 ] || fail "$wrong game pixels of the help line differ from the window's"
xdotool key alt+Return
wait_for size_is 640x480 || fail "Alt+Enter left the client area at $(size)"
[ "$(where)" = "$before" ] || fail "the window came back at $(where), not at $before"
wait_for wait_for grep -qx 'fullscreen = false' "$conf" || fail "leaving full screen not remembered: $(cat "$conf")"

# Closing the window through the window manager ends the game with 0.
close_game "$id" "$game"

# The settings file's scale, too large for the screen: the largest that fits,
# the window with its frame wholly on the screen. Its bad line is named and the
# game goes on.
printf '# mine\nscale = 3\nscale = big\nfullscreen = false\n' >"$conf"
"$VTRAK" 2>"$PERSON_TMP/err" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window with a settings file: $(cat "$PERSON_TMP/err")"
wait_for size_is 1280x960 || fail "scale = 3 gave a client area of $(size)"
on_screen() {
  local x y left right top bottom
  read -r x y <<<"$(where)"
  IFS=', ' read -r left right top bottom <<<"$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //')"
  ((x >= left && y >= top && x + 1280 + right <= 1400 && y + 960 + bottom <= 1000))
}
wait_for on_screen || fail "the window lies at $(where), framed $(xprop -id "$id" _NET_FRAME_EXTENTS)"
grep -q "^vtrak: $conf:3: scale takes" "$PERSON_TMP/err" || fail "said: $(cat "$PERSON_TMP/err")"
grep -q "^vtrak: the window at a scale of 3 ($conf) does not fit the 1400 by 1000 screen; it takes 2" \
  "$PERSON_TMP/err" || fail "said: $(cat "$PERSON_TMP/err")"
close_game "$id" "$game"

# A desktop scale that is no scale is named and ignored; a read-only settings
# file stays as it is, and why the toggles are not remembered is said once.
printf '# mine\n' >"$conf"
chmod 0444 "$conf"
GDK_SCALE=100 "$VTRAK" 2>"$PERSON_TMP/err" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window with GDK_SCALE=100: $(cat "$PERSON_TMP/err")"
size_is 640x480 || fail "GDK_SCALE=100 gave a client area of $(size)"
xdotool windowactivate --sync "$id" key F11
wait_for size_is 1400x1000 || fail "F11 left the client area at $(size)"
xdotool key alt+Return
wait_for size_is 640x480 || fail "Alt+Enter left the client area at $(size)"
[ "$(cat "$PERSON_TMP/err")" = "vtrak: GDK_SCALE=100 is not a whole number from 1 to 8; ignored
vtrak: cannot remember full screen in $conf: the file is read-only; make it writable to have the game remember" ] ||
  fail "said: $(cat "$PERSON_TMP/err")"
[ "$(cat "$conf")" = "# mine" ] || fail "the read-only file became: $(cat "$conf")"
close_game "$id" "$game"
echo "PASS"
