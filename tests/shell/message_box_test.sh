#!/usr/bin/env bash
# The game's two messages as a person reads them on an X server whose core
# fonts are Latin only, as on a desktop without the legacy X font packages:
# a second copy's "多重起動ですよ！" and the controller's "認識？" (shown through
# vtrak-tool, as no controller can be attached here) are read back by OCR.
# The box is centred and of fixed size; Return or a click on OK closes it, and
# its program then ends with 0. Usage: message_box_test.sh VTRAK VTRAK_TOOL
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
TOOL="$2"

# The X server's only core font: an ISO 8859-1 bitmap face made from the
# system's monospace face.
fonts=$(mktemp -d)
trap 'rm -rf "$fonts"' EXIT
otf2bdf -p 12 -r 75 -c C -f misc -t fixed -l '32_126 160_255' -o "$fonts/fixed.bdf" \
  "$(fc-match -f '%{file}' monospace)" || true # it reports 8 even on success
grep -q '^ENDFONT' "$fonts/fixed.bdf" || fail "otf2bdf made no font"
sed -i 's/ISO10646-1$/ISO8859-1/; s/^CHARSET_REGISTRY .*/CHARSET_REGISTRY "ISO8859"/;
        s/^CHARSET_ENCODING .*/CHARSET_ENCODING "1"/' "$fonts/fixed.bdf"
bdftopcf -o "$fonts/fixed.pcf" "$fonts/fixed.bdf"
rm "$fonts/fixed.bdf"
mkfontdir "$fonts"
start_desktop -fp "$fonts"
trap 'rm -rf "$fonts"; stop_desktop' EXIT

"$VTRAK" &
game=$!
window=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"

# The second copy's box: readable, centred on the 1024x768 screen (its frame's
# title bar shifts it down a little), fixed in size; Return closes it.
before=$(top_level_windows)
"$VTRAK" &
second=$!
box=$(wait_new_client "$before" "$second") || fail "the second copy showed no message box"
wait_text "$box" "多重起動ですよ！"
read -r x y width height < <(xwininfo -id "$box" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2}
       /Height:/ {h=$2} END {print x, y, w, h}')
dx=$((x + width / 2 - 512)) dy=$((y + height / 2 - 384))
((dx * dx <= 4 && dy >= -2 && dy <= 30)) || fail "the box is not centred: ${width}x${height}+$x+$y"
hints=$(xprop -id "$box" WM_NORMAL_HINTS)
grep -q "minimum size: $width by $height" <<<"$hints" && grep -q "maximum size: $width by $height" <<<"$hints" ||
  fail "the box can be resized: $(xprop -id "$box" WM_NORMAL_HINTS)"
close_message_box "$box"
expect_end_0 "$second" "Return closed its message box"
kill -0 "$game" 2>/dev/null || fail "the first copy ended"

# The controller's message, closed by a click on OK (centred at the bottom).
before=$(top_level_windows)
"$TOOL" message "認識？" &
tool=$!
box=$(wait_new_client "$before" "$tool") || fail "vtrak-tool showed no message box"
wait_text "$box" "認識？"
read -r width height < <(xwininfo -id "$box" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
xdotool mousemove --window "$box" $((width / 2)) $((height - 20)) click 1
expect_end_0 "$tool" "a click on OK"

# Any text is shown: glyphs the face lacks, bytes that are not UTF-8, and a
# text far too long for the screen alike.
before=$(top_level_windows)
"$TOOL" message "$(printf 'mE \xF0\x9F\x98\x80 \xFF%.0s' {1..3000})" &
tool=$!
box=$(wait_new_client "$before" "$tool") || fail "no message box for an emoji, bad bytes and a long text"
close_message_box "$box"
expect_end_0 "$tool" "Return closed its message box"

close_game "$window" "$game"
echo PASS
