#!/usr/bin/env bash
# Builds the benchmarks (optimised, as the game is built) and prints one table of what the game costs,
# each figure beside its floor, all measured side by side in this one run:
#   bash scripts/bench.sh
# The CPU-use rows run the game in a real window on a virtual display (Xvfb);
# the browser rows run the page (built first) in headless Chromium.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
bash "$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=OFF -DVTRAK_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target vtrak vtrak-bgm render_bench game_bench sound_bench game_process_bench \
  vtrak_first_frame_probe >/dev/null
bin="$build/bin"
out=$(mktemp -d)

echo "Running the benchmarks (about two minutes)..." >&2
csv() { "$@" --benchmark_format=csv 2>/dev/null | grep -v '^name,' || true; }
{
  csv "$bin/render_bench"
  csv "$bin/game_bench"
  (cd "$out" && csv "$bin/sound_bench")
  csv "$bin/game_process_bench" "$bin/vtrak" "$build/bench/libvtrak_first_frame_probe.so" \
    --benchmark_filter='Start'
  # A real window: Xvfb with openbox, as the person-level tests use.
  (
    source "$root/tests/person/lib.sh"
    start_desktop
    csv "$bin/game_process_bench" "$bin/vtrak" "$build/bench/libvtrak_first_frame_probe.so" \
      --benchmark_filter='CpuUse' --benchmark_counters_tabular=false
  )
} >"$out/results.csv"

# Columns: name,iterations,real_time,cpu_time,time_unit,bytes_per_second,
# items_per_second,label,error_occurred,error_message[,counters...]
awk -F, '
  function ms(t, unit) {
    if (unit == "ns") return t / 1e6
    if (unit == "us") return t / 1e3
    if (unit == "s") return t * 1e3
    return t
  }
  {
    gsub(/"/, "")
    name = $1
    sub(/\/.*$/, "", name)
    if ($1 ~ /_(median|stddev|cv)$/) next
    sub(/_mean$/, "", name)
    time[name] = ms($3, $5)
    cpu[name] = ms($4, $5)
    items[name] = $7
    if (NF > 10) extra[name] = $11
  }
  function row(what, value, floorWhat, floorValue, ratio) {
    printf "| %-44s | %14s | %-32s | %14s | %7s |\n", what, value, floorWhat, floorValue, ratio
  }
  function fmt(v, unit) { return (v == "" ? "n/a" : sprintf("%.3f %s", v, unit)) }
  # A figure in ms beside its floor, from the table `t` (time or cpu).
  function pair(what, name, floorWhat, floorName, cpuTime,   a, b) {
    a = cpuTime ? cpu[name] : time[name]
    b = cpuTime ? cpu[floorName] : time[floorName]
    row(what, fmt(a, "ms"), floorWhat, fmt(b, "ms"), (a == "" || b == "" || b == 0 ? "n/a" : sprintf("%.1fx", a / b)))
  }
  function percent(v) { return (v == "" ? "n/a" : sprintf("%.1f %%", v)) }
  END {
    row("measure", "value", "floor", "floor value", "ratio")
    row("---", "---", "---", "---", "---")
    pair("frame: clear, step, upload (CPU)", "BM_FrameWithUpload",
         "clear + copy of the same buffers", "BM_MemoryFloor", 1)
    pair("frame: clear, step, whole present (CPU)", "BM_FrameWithPresent",
         "clear + copy of the same buffers", "BM_MemoryFloor", 1)
    row("steps per second, no drawing (autoplay)", sprintf("%.0f", items["BM_StepGame"]), "", "", "")
    pair("WAV load, 60 s stereo", "BM_LoadWav", "plain fread of the same file", "BM_PlainFread", 0)
    pair("Ogg conversion, 60 s stereo", "BM_ConvertOggToWav", "plain ov_read loop", "BM_PlainOvRead", 0)
    pair("the same, over a result already on disk", "BM_ConvertOggToWavSettled", "plain ov_read loop",
         "BM_PlainOvRead", 0)
    pair("reject a 4 GiB sparse WAV (scan to its end)", "BM_RejectSparseWav",
         "128 KiB reads of it, as cat", "BM_CatSparseWav", 0)
    pair("start to first presented frame (dummy video)", "BM_StartToFirstFrame",
         "start of /bin/true", "BM_StartTrueProgram", 0)
    row("CPU use over 10 s, window on Xvfb", percent(extra["BM_CpuUseInWindow"]),
        "the same, minimised", percent(extra["BM_CpuUseMinimised"]), "")
  }
' "$out/results.csv"

echo
echo "The page in headless Chromium (bench/web_page_bench.py), beside the window's rows above:"
bash "$root/scripts/web.sh" --build-only >/dev/null
/usr/bin/python3 "$root/bench/web_page_bench.py" "$root/build-web/site"
echo
echo "Raw results: $out/results.csv"
