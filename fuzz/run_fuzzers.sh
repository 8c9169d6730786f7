#!/usr/bin/env bash
# Runs both sound fuzzers for SECONDS each (default 60) from a fuzz build
# folder: bash fuzz/run_fuzzers.sh BUILD_FOLDER [SECONDS].
# New inputs go to BUILD_FOLDER/fuzz/found/, crashes to BUILD_FOLDER/fuzz/crashes/.
# The targets work in a temp folder of their own, so every path here is absolute.
set -euo pipefail
build="$(cd "$1" && pwd)"
seconds="${2:-60}"
fuzz="$build/fuzz"
status=0
for pair in wav:fuzz_wav_load ogg:fuzz_ogg_conversion; do
  kind="${pair%%:*}"
  target="${pair#*:}"
  mkdir -p "$fuzz/found/$kind" "$fuzz/crashes"
  log="$fuzz/$target.log"
  echo "== $target for ${seconds}s"
  if ! ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" "$build/bin/$target" \
    -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$fuzz/crashes/$target-" "$fuzz/found/$kind" "$fuzz/seeds/$kind" \
    >"$log" 2>&1; then
    echo "$target FAILED; the end of $log:"
    tail -n 40 "$log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^Done ' "$log" || true
  echo "corpus: $(ls "$fuzz/found/$kind" | wc -l) inputs found"
done
exit "$status"
