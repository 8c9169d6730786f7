#!/usr/bin/env bash
# The game's pace under a compositor that paces its clients by its frame
# clock: weston nested in a virtual X display through its x11 back end, the
# game on SDL's Wayland driver.
#   bash scripts/compositor_pace.sh VTRAK [SECONDS]
# weston 10 sets no output refresh (its x11 output says 60 Hz), but its x11
# back end shows a repaint 10 ms after making it and starts each repaint its
# repaint window ahead of the next refresh: a window of 10 ms gives frames at
# about 60 a second, a window longer than the refresh period about 85 (as
# fast as it goes). Under each the clock is first read by weston's own
# presentation-timing client (the median time between presents); then the
# game runs, once for each rate (0: one step per refresh; else --rate), until
# it has shown itself for SECONDS (default 10) twice, and its figures for the
# second stretch, which it counts itself (VTRAK_PACE_STATS), are printed:
# presents and steps a second and the refreshes missed, as a table and as
# the game's own lines. Ends with 77 without weston.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
vtrak="$1"
seconds="${2:-10}"
command -v weston >/dev/null || {
  echo "SKIP: weston is not installed"
  exit 77
}

source "$root/tests/person/lib.sh"
PERSON_PATIENCE=$((seconds * 3 + 60))
start_desktop
# Starts weston with repaint window $1 (ms) on socket $2.
start_weston() {
  printf '[core]\nrepaint-window=%s\n[shell]\npanel-position=none\n' "$1" >"$PERSON_TMP/weston-$2.ini"
  weston --config="$PERSON_TMP/weston-$2.ini" --backend=x11-backend.so --use-pixman --width=800 \
    --height=600 --idle-time=0 --socket="$2" >"$PERSON_TMP/weston-$2.log" 2>&1 &
  PERSON_PIDS+=($!)
  wait_for test -S "$XDG_RUNTIME_DIR/$2" ||
    fail "weston did not start: $(tail -n 5 "$PERSON_TMP/weston-$2.log")"
}

# The compositor's frames a second on socket $1, from the median time between
# presents that weston's presentation-timing client sees over 4 s.
compositor_hz() {
  { WAYLAND_DISPLAY="$1" timeout -s INT 4 weston-presentation-shm -f 2>&1 || true; } |
    grep -o 'p2p *[0-9]* us' | awk '{print $2}' | sort -n |
    awk '{a[NR] = $1} END {if (NR) printf "%.2f", 1e6 / a[int((NR + 1) / 2)]; else print "?"}'
}

# The game's second pace line: the first takes in the start-up.
second_line() { grep 'vtrak: pace:' "$1" | sed -n 2p | grep .; }

# Runs the game at rate $2 on socket $1 and adds its second pace line to
# `lines`, after the compositor's frames a second $3.
game_pace() {
  local options=() log="$PERSON_TMP/game-$1-$2.log" game
  [ "$2" = 0 ] || options=(--rate "$2")
  VTRAK_PACE_STATS="$seconds" SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY="$1" \
    "$vtrak" "${options[@]}" 2>"$log" &
  game=$!
  PERSON_PIDS+=("$game")  # ended with the desktop should a wait fail
  wait_for second_line "$log" >/dev/null ||
    fail "the game at rate $2 showed no pace line: $(tail -n 3 "$log")"
  # SDL turns the signal into a quit: the game ends as when its window closes.
  kill -TERM "$game"
  expect_end_0 "$game" "SIGTERM"
  lines+=("compositor_hz=$3 rate=$2 $(second_line "$log")")
}

lines=()
# repaint window, then the rates to run under it
for setup in "10 0 45" "1000 0 60"; do
  read -r window rates <<<"$setup"
  socket="vtrak-pace-$window"
  start_weston "$window" "$socket"
  hz=$(compositor_hz "$socket")
  for rate in $rates; do
    game_pace "$socket" "$rate" "$hz"
  done
done

figure() { tr ' ' '\n' <<<"$1" | awk -F= -v n="$2" '$1 == n {print $2}'; }
row() { printf "| %-13s | %-6s | %-12s | %-12s | %-12s | %-16s | %-8s |\n" "$@"; }
row "compositor/s" "--rate" "refresh (Hz)" "presents/s" "steps/s" "missed refreshes" "seconds"
row --- --- --- --- --- --- ---
for line in "${lines[@]}"; do
  row "$(figure "$line" compositor_hz)" "$(figure "$line" rate)" \
    "$(figure "$line" refresh_hz)" "$(figure "$line" presents_per_s)" \
    "$(figure "$line" steps_per_s)" "$(figure "$line" missed_refreshes)" "$(figure "$line" seconds)"
done
printf '%s\n' "${lines[@]}"
