#!/usr/bin/env bash
# Runs the two sound fuzzers and the run record's from a fuzz build folder, one
# after the other:
#   bash fuzz/run_fuzzers.sh BUILD_FOLDER [SECONDS]     each for SECONDS (default 60; the
#                                                       run record's, a small reader, a third)
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
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-suppressions.txt:print_suppressions=0"

# One target: fuzz_TARGET over the KIND seeds, checking for leaks when LEAKS
# is 1; its log is fuzz/TARGET.log. More arguments go to libFuzzer.
run_one() {
  local kind="$1" target="$2" leaks="$3" log="$fuzz/$2.log"
  shift 3
  mkdir -p "$fuzz/found/$kind" "$fuzz/crashes"
  if ! ASAN_OPTIONS="detect_leaks=$leaks${ASAN_OPTIONS:+:$ASAN_OPTIONS}" "$build/bin/$target" \
    "$@" -timeout="${FUZZ_TIMEOUT:-30}" -rss_limit_mb=2048 -print_final_stats=1 \
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
  # Side by side, a core each. Leak checks make the Ogg target several times
  # slower (libvorbisfile's own leak sets them off), so its campaign runs
  # without them and every input it kept is then run once with them.
  run_one wav fuzz_wav_load 1 "${limit[@]}" >"$fuzz/wav.out" 2>&1 &
  wav=$!
  run_one ogg fuzz_ogg_conversion 0 "${limit[@]}" >"$fuzz/ogg.out" 2>&1 || status=1
  wait "$wav" || status=1
  run_one run fuzz_run_record 1 "${limit[@]}" >"$fuzz/run.out" 2>&1 || status=1
  cat "$fuzz/wav.out" "$fuzz/ogg.out" "$fuzz/run.out"
  echo "Leak check over the Ogg corpus:"
  cp "$fuzz/fuzz_ogg_conversion.log" "$fuzz/fuzz_ogg_conversion.campaign.log"
  run_one ogg fuzz_ogg_conversion 1 -runs=0 || status=1
else
  echo "Fuzzing each sound loader for ${2:-60}s, the run record reader for a third of it..."
  run_one wav fuzz_wav_load 1 "${limit[@]}" || status=1
  run_one ogg fuzz_ogg_conversion 1 "${limit[@]}" || status=1
  run_one run fuzz_run_record 1 -max_total_time="$(((${2:-60} + 2) / 3))" || status=1
fi
exit "$status"
