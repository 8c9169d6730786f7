#!/usr/bin/env bash
# Shared harness for person-level tests: a real X display (Xvfb) with a window
# manager (openbox), a private XDG_RUNTIME_DIR, and helpers to find windows and
# take screenshots. Source it, then call start_desktop.
set -euo pipefail

# The game's single-instance lock has fixed places for each user
# (/run/user/UID and /tmp/vtrak-UID), which every test and a game the user
# plays meanwhile would share. So the script that sources this runs again at
# once in a mount namespace of its own, where those folders are new, empty
# and private; a game it starts meets only its own test's games. (A user
# other than root maps itself to root in a user namespace to mount them, and
# back to itself for the test.)
# Only a script that sources this first thing can run again; one that sources
# it later (in a subshell or a function: the benchmark scripts) goes on in
# the shared namespace, and start_desktop says so. A shell that names this
# file itself as its script (bash -c 'source lib.sh && read_text ...', as the
# browser tests borrow its OCR) has nothing to run again.
if [ -z "${VTRAK_OWN_LOCK_PLACES:-}" ] && [ "${BASH_SOURCE[-1]}" = "$0" ] &&
  [ "${BASH_SOURCE[0]}" != "$0" ] &&
  [ "$BASH_SUBSHELL" -eq 0 ] && [ -z "${FUNCNAME[*]:-}" ]; then
  export VTRAK_OWN_LOCK_PLACES=no
  person_uid=$(id -u)
  mkdir -p -m 700 "/tmp/vtrak-$person_uid" 2>/dev/null || true
  person_mount='for place in "/tmp/vtrak-$0" "/run/user/$0"; do
      [ ! -d "$place" ] || mount -t tmpfs -o mode=700 vtrak-lock "$place" ||
        { echo "cannot make $place private for the test" >&2; exit 1; }
    done'
  if [ "$person_uid" -eq 0 ]; then
    person_enter=(unshare --mount --propagation private bash -c "$person_mount"'; exec "$@"' "$person_uid")
  else
    person_enter=(unshare --user --map-root-user --mount bash -c "$person_mount"'; exec unshare --user \
      --map-user="$0" --map-group="$1" "${@:2}"' "$person_uid" "$(id -g)")
  fi
  if "${person_enter[@]}" true 2>/dev/null; then
    VTRAK_OWN_LOCK_PLACES=yes exec "${person_enter[@]}" bash "$0" "$@"
  fi
fi

PERSON_TMP=""
PERSON_PIDS=()
# How long any wait for an event lasts at most, in seconds: far longer than
# the event takes on a loaded machine under the sanitizers, so that only an
# event that never comes ends a wait.
PERSON_PATIENCE=60

# Runs "$@" until it succeeds, every tenth of a second; false when it has not
# within PERSON_PATIENCE seconds.
wait_for() {
  local deadline=$((SECONDS + PERSON_PATIENCE))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Ends a test that this machine cannot set up, with the reason, as skipped:
# 77 is the SKIP_RETURN_CODE its ctest entry names.
skip() {
  echo "SKIP: $*"
  exit 77
}

# Skips the test where it cannot run in a mount namespace of its own: its game
# would meet any other game of the user's. A script that never asked for one
# is told so and goes on.
own_lock_places() {
  case "${VTRAK_OWN_LOCK_PLACES:-}" in
    yes) ;;
    no) skip "no private mount namespace for the game's lock (unshare --mount, or --user, is refused here)" ;;
    *) echo "note: the game's lock is shared here with any other copy of yours that runs" >&2 ;;
  esac
}

stop_desktop() {
  local pid
  for pid in "${PERSON_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${PERSON_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  [ -n "$PERSON_TMP" ] && rm -rf "$PERSON_TMP"
}

# Starts Xvfb on a free display number and openbox on it; exports DISPLAY and
# XDG_RUNTIME_DIR. Sound goes to OpenAL's null back end unless the test says otherwise.
# Arguments are passed on to Xvfb (e.g. -fp FOLDER for its core fonts). Skips
# the test when the desktop's programs are not installed.
start_desktop() {
  local program
  own_lock_places
  for program in Xvfb openbox xprop xdotool xwininfo; do
    command -v "$program" >/dev/null ||
      skip "$program is not installed (bash scripts/install-deps.sh test installs it)"
  done
  PERSON_TMP=$(mktemp -d)
  trap stop_desktop EXIT
  export XDG_RUNTIME_DIR="$PERSON_TMP/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
  unset SDL_VIDEODRIVER WAYLAND_DISPLAY
  exec 3>"$PERSON_TMP/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset "$@" >"$PERSON_TMP/xvfb.log" 2>&1 &
  PERSON_PIDS+=($!)
  exec 3>&-
  wait_for test -s "$PERSON_TMP/display" || fail "Xvfb did not start: $(cat "$PERSON_TMP/xvfb.log")"
  export DISPLAY=":$(head -n1 "$PERSON_TMP/display")"
  openbox --sm-disable >"$PERSON_TMP/openbox.log" 2>&1 &
  PERSON_PIDS+=($!)
  wait_for window_manager_runs || fail "openbox did not start on $DISPLAY"
  settle_key_bindings
}

window_manager_runs() {
  grep -q 'window id' <<<"$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)"
}

# The first key pressed through XTEST on a new X server switches the server's
# keyboard to another source device, and every client hears that the keyboard
# map changed; openbox then drops all its key grabs and takes them again. A
# key pressed meanwhile goes to the focused window instead: an Alt+F4 sent
# then reaches the game as two plain keys and nothing closes. So the desktop
# starts with that switch behind it: Super+F2 and Super+F1 (openbox's
# bindings for going to desktops 2 and 1) are pressed until openbox has
# acted on each. It handles its events in order, so once it has acted on a
# key its grabs are back.
settle_key_bindings() {
  wait_for desktop_after_key super+F2 1 && wait_for desktop_after_key super+F1 0 ||
    fail "openbox does not act on Super+F1/F2 (its bindings for desktops 1 and 2) on $DISPLAY"
}
# Presses $1, and is true once openbox shows desktop $2 (counted from 0).
desktop_after_key() {
  xdotool key "$1"
  grep -q "= $2\$" <<<"$(xprop -root _NET_CURRENT_DESKTOP 2>/dev/null)"
}

# Prints the id of the first visible top-level window titled exactly $1, once
# there is one. (Under pipefail no producer is piped into head or grep -q: the
# reader that stops early would end it by the closed pipe, and fail the line.)
window_titled() {
  local ids
  ids=$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null) || true
  [ -n "$ids" ] && echo "${ids%%$'\n'*}"
}
wait_window() { wait_for window_titled "$1"; }

# Top-level windows of the root, one id per line.
top_level_windows() {
  xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'
}

# The client window of a new top-level window that appeared since the list $1
# (from top_level_windows) was taken: SDL's message box has no class and no
# title, so it is found as the newcomer. Waits for it while process $2 lives.
wait_new_client() {
  local client
  client=$(wait_for new_client_or_end "$@") && [ -n "$client" ] && echo "$client"
}
# The new client, or nothing (and true) once process $2 has ended.
new_client_or_end() {
  local frame client
  frame=$(comm -13 <(echo "$1" | sort) <(top_level_windows | sort) | while read -r w; do
    grep -q 'Map State: IsViewable' <<<"$(xwininfo -id "$w" 2>/dev/null)" && echo "$w"
  done | awk 'NR == 1')
  [ -n "$frame" ] || { ended "$2"; return; }
  # Under the window manager the top level is a frame; the client is its first child.
  client=$(xwininfo -children -id "$frame" 2>/dev/null | awk '/^ +0x/ && !found {print $1; found = 1}')
  echo "${client:-$frame}"
}

# Presses Return in a message box's client window, which closes it.
close_message_box() {
  xdotool key --window "$1" Return
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits for process $1, a child of this shell, to end, and checks that it
# ended with 0; $2 tells what should have ended it.
expect_end_0() {
  local pid="$1" what="$2" status
  wait_for ended "$pid" || fail "process $pid went on after $what"
  set +e
  wait "$pid"
  status=$?
  set -e
  [ "$status" -eq 0 ] || fail "process $pid ended with $status after $what"
}

# Closes window $1 through the window manager (Alt+F4) and checks that the
# game, process $2 (a child of this shell), ended with status 0.
close_game() {
  xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4 ||
    fail "could not activate window $1 and press Alt+F4 in it"
  expect_end_0 "$2" "its window was closed"
}

# Always 8-bit RGB: ImageMagick 7 reads a PNG stored as grey with one channel,
# and its signature of the same pixels then differs from an RGB file's.
screenshot() {
  import -window "$1" "png24:$2"
}

# The colour of pixel ($2, $3) in image $1, as ImageMagick's "srgb(r,g,b)" text.
pixel_at() {
  convert "$1" -format "%[pixel:p{$2,$3}]" info:
}

# The number of characters to insert, delete or replace to turn $1 into $2.
edit_distance() {
  local LC_ALL=C.UTF-8
  local a="$1" b="$2" i j cost best
  local -a prev cur
  for ((j = 0; j <= ${#b}; j++)); do prev[j]=$j; done
  for ((i = 1; i <= ${#a}; i++)); do
    cur=("$i")
    for ((j = 1; j <= ${#b}; j++)); do
      cost=1
      [ "${a:i-1:1}" = "${b:j-1:1}" ] && cost=0
      best=$((prev[j - 1] + cost))
      ((prev[j] + 1 < best)) && best=$((prev[j] + 1))
      ((cur[j - 1] + 1 < best)) && best=$((cur[j - 1] + 1))
      cur[j]=$best
    done
    prev=("${cur[@]}")
  done
  echo "${prev[${#b}]}"
}

# The Japanese text in image $1 as OCR reads it, one line per line, spaces
# dropped. The aliased glyphs are enlarged and softened first: the OCR reads
# smooth strokes far better than pixel steps.
read_text() {
  convert "$1" -colorspace Gray -scale 300% -blur 0x2 "$1.ocr.png"
  tesseract "$1.ocr.png" - -l jpn --psm 6 2>/dev/null | tr -d ' ' | grep -v '^$' || true
}

# Waits for window $1 ("root": the whole screen) to show a line that OCR
# reads as $2 with at most one character wrong; full- and half-width "!" and
# "?" count as the same (OCR cannot tell them apart).
wait_text() {
  local window="$1" want="$2" image="$PERSON_TMP/text.png" lines line
  local fold='s/！/!/g; s/？/?/g' deadline=$((SECONDS + PERSON_PATIENCE))
  want=$(sed "$fold" <<<"$want")
  while [ "$SECONDS" -lt "$deadline" ]; do
    screenshot "$window" "$image" 2>/dev/null || true
    lines=$(read_text "$image" | sed "$fold")
    while IFS= read -r line; do
      [ -n "$line" ] && [ "$(edit_distance "$line" "$want")" -le 1 ] && return 0
    done <<<"$lines"
    sleep 1
  done
  fail "the screen does not read \"$2\"; OCR read: $(tr '\n' '|' <<<"$lines")"
}
