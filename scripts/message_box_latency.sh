#!/usr/bin/env bash
# Prints how long a second copy takes from its start until its message box is
# on the screen (a new top-level window mapped), for two builds of the game
# side by side, alternating runs on one virtual display (Xvfb with openbox):
#   bash scripts/message_box_latency.sh VTRAK_A VTRAK_B [RUNS]
# e.g. main's build as A and a changed build as B. Medians over RUNS (9).
# A desktop session has a D-Bus session bus; without one SDL's video start-up
# spends some 60 ms looking for it. To compare as on a desktop:
#   dbus-run-session -- bash scripts/message_box_latency.sh VTRAK_A VTRAK_B
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 2 ] || {
  echo "usage: $0 VTRAK_A VTRAK_B [RUNS]" >&2
  exit 2
}
builds=("$1" "$2")
runs="${3:-9}"
source "$root/tests/person/lib.sh"
start_desktop

# Milliseconds from starting $1 until a new top-level window is viewable; the
# box is then closed with Return and the copy waited for.
time_to_box() {
  local before start now frame="" w client
  before=$(top_level_windows | sort)
  start=$(date +%s%N)
  "$1" 2>/dev/null &
  local pid=$!
  while [ -z "$frame" ]; do
    for w in $(comm -13 <(echo "$before") <(top_level_windows | sort)); do
      if grep -q 'Map State: IsViewable' <<<"$(xwininfo -id "$w" 2>/dev/null)"; then
        frame=$w
        break
      fi
    done
    kill -0 "$pid" 2>/dev/null || fail "$1 ended without a message box"
    [ -n "$frame" ] || sleep 0.002
  done
  now=$(date +%s%N)
  echo $(((now - start) / 1000000))
  sleep 0.3
  client=$(xwininfo -children -id "$frame" | awk '/^ +0x/ && !found {print $1; found = 1}')
  close_message_box "${client:-$frame}" || true
  wait "$pid" || true
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# The first copy, whose lock makes the others second copies.
"${builds[1]}" &
game=$!
window=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"
times=("" "")
for ((run = 0; run < runs; run++)); do
  for i in 0 1; do times[i]+="$(time_to_box "${builds[i]}") "; done
done
close_game "$window" "$game"

printf '| %-40s | %-28s | %-28s |\n' "start to message box on screen (ms)" "A: $(basename "$(dirname "$(dirname "${builds[0]}")")")" \
  "B: $(basename "$(dirname "$(dirname "${builds[1]}")")")"
printf '| %-40s | %-28s | %-28s |\n' "median of $runs runs" "$(tr ' ' '\n' <<<"${times[0]}" | grep . | median)" \
  "$(tr ' ' '\n' <<<"${times[1]}" | grep . | median)"
printf '| %-40s | %-28s | %-28s |\n' "all runs" "${times[0]}" "${times[1]}"
