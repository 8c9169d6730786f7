#!/usr/bin/env bash
# Under a compositor that paces its clients (weston nested in Xvfb, the game
# on SDL's Wayland driver), the game's real present path reports its pace:
# one step per present by default, and --rate's steps a second whatever the
# clock. How close the presents keep to the compositor's own clock depends on
# the machine's load (compositor and game share its cores), so that is a
# figure scripts/compositor_pace.sh prints, not a check here. Skipped (77)
# without weston. Usage: compositor_pace_test.sh VTRAK
set -euo pipefail
out=$(bash "$(dirname "$0")/../../scripts/compositor_pace.sh" "$1" 3) || exit  # 77: no weston
echo "$out"
lines=$(grep '^compositor_hz=' <<<"$out") || { echo "FAIL: no pace lines" >&2; exit 1; }
[ "$(wc -l <<<"$lines")" -eq 4 ] || { echo "FAIL: not four pace lines" >&2; exit 1; }
# A stall may cost steps (a frame makes up no more than 4, and the game counts
# the rest as forgiven), never add them: the steps made and forgiven keep to
# the rate however the machine stalls, and a present makes at least one step
# when one is due by then.
awk '{
  for (i = 1; i <= NF; ++i) { split($i, kv, "="); f[kv[1]] = kv[2] }
  kept = f["steps_per_s"] + f["forgiven_steps"] / f["seconds"]
  least = f["rate"] < f["presents_per_s"] ? f["rate"] : f["presents_per_s"]
  why = ""
  if (f["presents"] < 10) why = "hardly any presents"
  else if (f["rate"] == 0 && f["steps"] != f["presents"]) why = "not one step per present"
  else if (f["rate"] > 0 && (kept < 0.85 * f["rate"] || f["steps_per_s"] < 0.85 * least ||
                             f["steps_per_s"] > 1.05 * f["rate"] + 1))
    why = "steps a second off the rate"
  if (why != "") { print "FAIL: " why ": " $0 > "/dev/stderr"; bad = 1 }
} END { exit bad }' <<<"$lines"
echo PASS
