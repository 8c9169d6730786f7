#!/usr/bin/env bash
# The autoplayed soak: bash tests/soak/soak.sh BIN_FOLDER [STEPS] [SHORT_STEPS] [SEED]
# Runs `vtrak-tool sim --autoplay` for SHORT_STEPS (default 1,000,000) and
# STEPS (default 100,000,000) steps, checks every step of both traces with
# vtrak-soak, and fails when the long run needed more memory than the short one.
# With a SEED both runs are the same every time; without, the clock seeds them.
set -euo pipefail
bin="$1"
steps="${2:-100000000}"
short="${3:-1000000}"
seed=()
if [ -n "${4:-}" ]; then seed=(--seed "$4"); fi

run() {
  local n="$1" report
  report=$("$bin/vtrak-soak" -- "$bin/vtrak-tool" sim "${seed[@]}" --autoplay --steps "$n" --trace -) || {
    echo "FAIL: the $n-step run: $report" >&2
    exit 1
  }
  echo "$report" >&2
  case "$report" in *"steps=$n "*) ;; *) echo "FAIL: the $n-step run stopped early" >&2; exit 1 ;; esac
  printf '%s\n' "$report" | sed 's/.*maxRssKiB=//'
}

short_rss=$(run "$short")
long_rss=$(run "$steps")
# A little slack for the allocator; a leak per step would be far more.
if [ "$long_rss" -gt $((short_rss + 1024)) ]; then
  echo "FAIL: $steps steps took ${long_rss} KiB, $short steps ${short_rss} KiB" >&2
  exit 1
fi
echo "PASS: $short and $steps autoplayed steps kept every invariant; max RSS ${short_rss} and ${long_rss} KiB"
