#!/usr/bin/env bash
# A second copy started on a Wayland desktop (SDL's wayland driver, weston
# nested in Xvfb through its x11 back end: weston's headless back end has no
# seat, which SDL's Wayland driver needs) shows "多重起動ですよ！" without
# zenity, and ends with 0 when Return closes it. Skipped (77) without weston.
# Usage: wayland_message_test.sh VTRAK
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
command -v weston >/dev/null || {
  echo "SKIP: weston is not installed"
  exit 77
}

start_desktop
# A plain white desktop without a panel, so that only the box has anything to read.
printf '[shell]\nbackground-color=0xffffffff\npanel-position=none\n' >"$PERSON_TMP/weston.ini"
weston --config="$PERSON_TMP/weston.ini" --backend=x11-backend.so --use-pixman --width=640 \
  --height=480 --idle-time=0 --socket=vtrak-wayland >"$PERSON_TMP/weston.log" 2>&1 &
PERSON_PIDS+=($!)
weston_runs() {
  compositor=$(xdotool search --class 'Weston Compositor' 2>/dev/null | awk 'NR == 1' || true)
  [ -n "$compositor" ] && [ -S "$XDG_RUNTIME_DIR/vtrak-wayland" ]
}
wait_for weston_runs || fail "weston did not start: $(tail -n 5 "$PERSON_TMP/weston.log")"

# The first copy holds the lock from the X11 desktop, minimised so as not to
# hide weston's window; the second copy meets it.
"$VTRAK" &
game=$!
window=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"
xdotool windowminimize --sync "$window"
SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=vtrak-wayland "$VTRAK" 2>"$PERSON_TMP/second.log" &
second=$!
wait_text "$compositor" "多重起動ですよ！"
xdotool windowactivate --sync "$compositor" key Return
expect_end_0 "$second" "Return closed its message box"
close_game "$window" "$game"
echo PASS
