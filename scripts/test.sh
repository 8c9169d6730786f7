#!/usr/bin/env bash
# Builds V-TRAK and runs every test: unit, integration, person-level (a real
# window on Xvfb) and the browser page's (headless Chromium); then the whole
# suite again in an AddressSanitizer + UndefinedBehaviorSanitizer build, and
# the two sound fuzzers for a minute each and the run record reader's for 20 s.
#   bash scripts/test.sh           everything, installing what is missing first
#   bash scripts/test.sh --quick   the developer's loop: the plain build and the
#                                  tests that need no display, no browser, no
#                                  package installation, no sanitizers, no fuzzing
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
quick=false
case "${1:-}" in
  "") ;;
  --quick) quick=true ;;
  *)
    echo "usage: bash scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac
$quick || bash "$root/scripts/install-deps.sh" test
failed=()
# Every ctest run's output is kept here too, to count the tests it skipped
# (those that ended with 77: what they need is missing on this machine).
ctest_log=$(mktemp)
trap 'rm -f "$ctest_log"' EXIT
run_ctest() { (cd "$1" && shift && ctest "$@") 2>&1 | tee -a "$ctest_log"; }
skipped() {
  local names
  names=$(sed -n 's/^ *[0-9]*\/[0-9]* *Test *#[0-9]*: \([^ ]*\) .*\*\*\*Skipped.*/\1/p' "$ctest_log")
  [ -n "$names" ] && echo "$(wc -l <<<"$names") skipped: $(echo $names)" || echo "none skipped"
}

# The code's format, as .clang-format has it, by one version of clang-format
# on every release (another version's verdict differs on a few lines).
if ! command -v clang-format-19 >/dev/null; then
  failed+=("format (clang-format-19 is missing: bash scripts/install-deps.sh test installs it)")
elif ! (cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-19 --dry-run -Werror); then
  failed+=("format (run clang-format-19 -i on the files named above)")
fi

# 1. The plain build, its warnings errors (a player's or packager's build only
# warns). Its packaging tests install and pack the build the README's Install
# section makes, build-release/.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=ON -DVTRAK_BENCH=ON \
  -DVTRAK_WERROR=ON -DVTRAK_PACKAGE_BUILD="$root/build-release" >/dev/null
cmake --build "$root/build" -j2
if $quick; then
  run_ctest "$root/build" -j2 --output-on-failure --timeout 600 -LE 'person|packaging|soak|web' ||
    failed+=("tests")
  if [ "${#failed[@]}" -gt 0 ]; then
    echo "FAILED: ${failed[*]} ($(skipped))" >&2
    exit 1
  fi
  echo "The quick tests passed, $(skipped) (the full run: bash scripts/test.sh)."
  exit 0
fi
# The Install section's optimised build, which the packaging tests check.
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DVTRAK_WERROR=ON >/dev/null
cmake --build "$root/build-release" -j2 || failed+=("Release build")
# The page for the browser tests, from the same sources.
VTRAK_WERROR=ON bash "$root/scripts/web.sh" --build-only || failed+=("browser build")
run_ctest "$root/build" -j2 --output-on-failure --timeout 600 || failed+=("tests")

# 2. The sanitizer build: any report ends its test. The person-level tests run
# without the leak check: the system's software OpenGL driver (Mesa swrast)
# leaks a little under SDL and is unloaded before the check, where no
# suppression can name it. Address and undefined-behaviour checks stay on.
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_SANITIZE=ON \
  -DVTRAK_TESTS=ON -DVTRAK_BENCH=OFF -DVTRAK_WERROR=ON >/dev/null
cmake --build "$root/build-asan" -j2
(
  sanitizer_options="halt_on_error=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  status=0
  ASAN_OPTIONS="$sanitizer_options:detect_leaks=1" \
    run_ctest "$root/build-asan" -j2 --output-on-failure --timeout 900 -LE 'person|web|packaging' || status=1
  ASAN_OPTIONS="$sanitizer_options:detect_leaks=0" \
    run_ctest "$root/build-asan" -j2 --output-on-failure --timeout 900 -L person || status=1
  exit "$status"
) || failed+=("sanitizer tests")

# 3. The fuzzers, built with clang's libFuzzer, 60 s each (the run record's 20 s).
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVTRAK_FUZZ=ON -DVTRAK_SANITIZE=ON -DVTRAK_TESTS=OFF -DVTRAK_BENCH=OFF -DVTRAK_WERROR=ON >/dev/null
cmake --build "$root/build-fuzz" -j2 --target fuzz_wav_load fuzz_ogg_conversion fuzz_run_record \
  fuzz_corpus
bash "$root/fuzz/run_fuzzers.sh" "$root/build-fuzz" 60 || failed+=("fuzzers")

if [ "${#failed[@]}" -gt 0 ]; then
  echo "FAILED: ${failed[*]} ($(skipped))" >&2
  exit 1
fi
echo "All tests, the sanitizer run and the fuzzers passed; of the tests, $(skipped)."
