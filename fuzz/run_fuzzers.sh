#!/usr/bin/env bash
# Runs both sound fuzzers from a fuzz build folder, one after the other:
#   bash fuzz/run_fuzzers.sh BUILD_FOLDER [SECONDS]     each for SECONDS (default 60)
#   bash fuzz/run_fuzzers.sh BUILD_FOLDER --runs N      each for N inputs, side by side
# The second form is the long campaign (see HACKING.md); it prints each
# target's totals when it ends. New inputs go to BUILD_FOLDER/fuzz/found/,
# crashes to BUILD_FOLDER/fuzz/crashes/. The targets work in a temp folder of
# their own (in /dev/shm when there is one: the Ogg target writes a file per
# input), so every path here is absolute. An input that takes FUZZ_TIMEOUT
# seconds (default 30: the machine may be busy) counts as a hang.
set -euo pipefail
build="$(cd "$1" && pwd)"
limit=(-max_total_time="${2:-60}")
parallel=false
if [ "${2:-}" = "--runs" ]; then
  limit=(-runs="$3")
  parallel=true
fi
fuzz="$build/fuzz"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# One target: fuzz_TARGET over the KIND seeds; its log is fuzz/TARGET.log.
run_one() {
  local kind="$1" target="$2" log="$fuzz/$2.log"
  mkdir -p "$fuzz/found/$kind" "$fuzz/crashes"
  if ! ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" "$build/bin/$target" \
    "${limit[@]}" -timeout="${FUZZ_TIMEOUT:-30}" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$fuzz/crashes/$target-" "$fuzz/found/$kind" "$fuzz/seeds/$kind" \
    >"$log" 2>&1; then
    echo "$target FAILED; the end of $log:"
    tail -n 40 "$log"
    return 1
  fi
  echo "== $target"
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb|^Done ' \
    "$log" || true
  echo "corpus: $(ls "$fuzz/found/$kind" | wc -l) inputs found"
}

status=0
if $parallel; then
  run_one wav fuzz_wav_load >"$fuzz/wav.out" 2>&1 &
  wav=$!
  run_one ogg fuzz_ogg_conversion >"$fuzz/ogg.out" 2>&1 || status=1
  wait "$wav" || status=1
  cat "$fuzz/wav.out" "$fuzz/ogg.out"
else
  echo "Fuzzing each sound loader for ${2:-60}s..."
  run_one wav fuzz_wav_load || status=1
  run_one ogg fuzz_ogg_conversion || status=1
fi
exit "$status"
