#!/usr/bin/env bash
# Under a compositor that paces its clients (weston nested in Xvfb, the game
# on SDL's Wayland driver), the game's own pace lines show presents keeping to
# the compositor's frame clock with few refreshes missed, one step per present
# by default, and --rate's steps a second whatever the clock. Skipped (77)
# without weston. Usage: compositor_pace_test.sh VTRAK
set -euo pipefail
out=$(bash "$(dirname "$0")/../../scripts/compositor_pace.sh" "$1" 3) || exit  # 77: no weston
echo "$out"
lines=$(grep '^compositor_hz=' <<<"$out") || { echo "FAIL: no pace lines" >&2; exit 1; }
# Bounds wide enough for a machine loaded several times over (its compositor and
# the game share two cores with builds), far from what a broken pace gives:
# a stall may cost steps (no more than 4 are made up), never add them.
awk '{
  for (i = 1; i <= NF; ++i) { split($i, kv, "="); f[kv[1]] = kv[2] }
  why = ""
  if (f["presents_per_s"] < 0.5 * f["compositor_hz"] || f["presents_per_s"] > 1.1 * f["compositor_hz"])
    why = "presents a second far from the compositor'"'"'s"
  else if (f["missed_refreshes"] > 0.5 * f["presents"]) why = "too many refreshes missed"
  else if (f["rate"] == 0 && f["steps"] != f["presents"]) why = "not one step per present"
  else if (f["rate"] > 0 && (f["steps_per_s"] < 0.9 * f["rate"] || f["steps_per_s"] > f["rate"] + 0.5))
    why = "steps a second off the rate"
  if (why != "") { print "FAIL: " why ": " $0 > "/dev/stderr"; bad = 1 }
} END { exit bad }' <<<"$lines"
echo PASS
