#!/usr/bin/env bash
# How soon a press of Z shows, in a real window on a virtual display (Xvfb with
# openbox), for this tree and for a base revision built beside it, measured
# side by side in one run:
#   bash scripts/latency.sh [BASE_REVISION] [PRESSES]
# BASE_REVISION defaults to the branch's upstream (origin/main in a fresh
# clone), or to HEAD, the last commit, where the branch has none; PRESSES to
# 60. Prints, for each build,
# the time from the key event to the present of the first frame that shows the
# jump (min, median, 95th percentile, in ms and frames) beside its floor (a
# press waits for the next input read, half a frame on average, then for the
# frame's own work: the least and the median of this tree's input read to
# present), the presents per second and missed refreshes over 10 s, and the
# CPU use over 10 s in the window. The machine should be otherwise idle: a
# busy one shows as missed refreshes and a long 95th percentile in both.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
base="${1:-}"
if [ -z "$base" ]; then
  base=$(git -C "$root" rev-parse --abbrev-ref --symbolic-full-name '@{upstream}' 2>/dev/null) ||
    base=HEAD
fi
presses="${2:-60}"
base_commit=$(git -C "$root" rev-parse --verify --quiet "$base^{commit}") ||
  { echo "latency.sh: no revision '$base' in $root; name the base revision to compare with" >&2; exit 1; }

build="$root/build-bench"
# The base's sources and build, kept per commit so a second run rebuilds nothing.
base_dir="$root/build-latency-base/$base_commit"
base_build="$base_dir/build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Building this tree and $base (${base_commit:0:10})..." >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=OFF -DVTRAK_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target vtrak key_latency vtrak_jump_probe game_process_bench \
  vtrak_first_frame_probe >/dev/null
if [ ! -d "$base_dir/src" ]; then
  mkdir -p "$base_dir/src.new"
  git -C "$root" archive "$base_commit" | tar -x -C "$base_dir/src.new"
  mv "$base_dir/src.new" "$base_dir/src"
fi
cmake -S "$base_dir/src" -B "$base_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=OFF \
  -DVTRAK_BENCH=OFF >/dev/null
cmake --build "$base_build" -j2 --target vtrak >/dev/null

probe="$build/bench/libvtrak_jump_probe.so"
echo "Measuring (about $((presses * 2 * 4 / 5 / 60 + 1)) minutes)..." >&2
(
  source "$root/tests/person/lib.sh"
  start_desktop
  for which in base tree; do
    game="$build/bin/vtrak"
    [ "$which" = base ] && game="$base_build/bin/vtrak"
    "$build/bin/key_latency" "$game" "$probe" "$presses" >"$work/$which.latency"
    "$build/bin/game_process_bench" "$game" "$build/bench/libvtrak_first_frame_probe.so" \
      --benchmark_filter='CpuUseInWindow' --benchmark_format=csv 2>/dev/null |
      awk -F, '/CpuUseInWindow/ {print $NF}' >"$work/$which.cpu"
  done
)

# A figure from a key_latency line: name=value.
figure() { tr ' ' '\n' <"$work/$1.latency" | awk -F= -v n="$2" '$1 == n {print $2}'; }
row() { printf "| %-42s | %-20s | %-20s | %-20s |\n" "$@"; }
# Milliseconds and frames of the period $2.
msf() { awk -v t="$1" -v p="$2" 'BEGIN {printf "%.2f ms (%.2f fr)", t, t / p}'; }

bp=$(figure base period_ms)
tp=$(figure tree period_ms)
work_ms=$(figure tree work_ms)
row "measure" "$base (${base_commit:0:7})" "this tree" "floor"
row "---" "---" "---" "---"
row "key event → present, min" "$(msf "$(figure base min_ms)" "$bp")" \
  "$(msf "$(figure tree min_ms)" "$tp")" "$(msf "$(figure tree work_min_ms)" "$tp")"
row "key event → present, median" "$(msf "$(figure base median_ms)" "$bp")" \
  "$(msf "$(figure tree median_ms)" "$tp")" "$(msf "$(awk -v p="$tp" -v w="$work_ms" 'BEGIN {print p / 2 + w}')" "$tp")"
row "key event → present, 95th percentile" "$(msf "$(figure base p95_ms)" "$bp")" \
  "$(msf "$(figure tree p95_ms)" "$tp")" "$(msf "$(awk -v p="$tp" -v w="$work_ms" 'BEGIN {print 0.95 * p + w}')" "$tp")"
row "presses measured" "$(figure base measured) of $(figure base presses)" \
  "$(figure tree measured) of $(figure tree presses)" ""
row "key event → input read, 95th percentile" "$(msf "$(figure base to_read_p95_ms)" "$bp")" \
  "$(msf "$(figure tree to_read_p95_ms)" "$tp")" "$(msf "$(awk -v p="$tp" 'BEGIN {print 0.95 * p}')" "$tp")"
row "input read → present, 95th percentile" "$(msf "$(figure base after_read_p95_ms)" "$bp")" \
  "$(msf "$(figure tree after_read_p95_ms)" "$tp")" "$(msf "$work_ms" "$tp")"
row "input read → present, median of all" "$(msf "$(figure base work_ms)" "$bp")" \
  "$(msf "$work_ms" "$tp")" ""
row "presents per second, 10 s" "$(figure base presents_per_s)" "$(figure tree presents_per_s)" \
  "$(awk -v p="$tp" 'BEGIN {printf "%.2f", 1000 / p}')"
row "missed refreshes, 10 s" "$(figure base missed)" "$(figure tree missed)" "0"
row "CPU use in the window, 10 s" "$(awk '{printf "%.1f %%", $1}' "$work/base.cpu")" \
  "$(awk '{printf "%.1f %%", $1}' "$work/tree.cpu")" ""
