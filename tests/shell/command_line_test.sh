#!/usr/bin/env bash
# The command line, where no display can be had. `--help` or `--version` (or
# -h, -V), alone, answers on standard output with 0, without a window or the
# lock; mixed with any other argument it is a usage error (2, one line); any
# other command line is launch options and a requested-file path (a bad
# option value is a usage error too) and goes on to start-up, which
# ends with the game's own "no display" line. That line comes first even
# without a runtime folder. vtrak-tool answers --version too.
# Usage: command_line_test.sh VTRAK VTRAK_TOOL VERSION
source "$(dirname "$0")/../person/lib.sh"
own_lock_places
vtrak="$1"
tool="$2"
version="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/home" "$work/tmp"

# Runs "$@" with no display of any kind, a home and a temporary folder of its
# own, and the runtime folder $runtime (unset when empty); sets status.
runtime="$work/run"
run() {
  local -a unset=(-u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u SDL_VIDEODRIVER)
  [ -n "$runtime" ] || unset+=(-u XDG_RUNTIME_DIR)
  set +e
  env "${unset[@]}" ${runtime:+XDG_RUNTIME_DIR="$runtime"} HOME="$work/home" TMPDIR="${tmp:-$work/tmp}" \
    "$@" >"$work/out" 2>"$work/err"
  status=$?
  set -e
}

for option in --help --version -h -V; do
  run "$vtrak" "$option"
  [ "$status" -eq 0 ] || fail "vtrak $option ended with $status: $(cat "$work/err")"
  [ ! -s "$work/err" ] || fail "vtrak $option wrote to standard error: $(cat "$work/err")"
  left=$(find "$work/run" "$work/tmp" -mindepth 1)
  [ -z "$left" ] || fail "vtrak $option made $left"
  case "$option" in
    --help | -h)
      grep -q '^usage: vtrak \[OPTION\]... \[--\] \[PATH\]$' "$work/out" || fail "vtrak $option said: $(cat "$work/out")"
      # The manual it names is there to read.
      page=$(sed -n 's/.*: man -l //p' "$work/out")
      [ -f "$page" ] || fail "vtrak $option names a manual that is not there: $(cat "$work/out")"
      ;;
    --version | -V) [ "$(cat "$work/out")" = "vtrak $version" ] || fail "vtrak $option said: $(cat "$work/out")" ;;
  esac
done
for arguments in "--help --version" "-V PATH" "--scale 9" "--rate" "--fullscreen --rate 0 PATH"; do
  # shellcheck disable=SC2086 # the words are the arguments
  run "$vtrak" $arguments
  [ "$status" -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] ||
    fail "vtrak $arguments ended with $status, saying: $(cat "$work/out" "$work/err")"
done

# Anything else is a path for start-up, which finds no display.
for arguments in "--version=2" "-hV" "-- --help" "--scale 2 --rate 60 -- --fullscreen"; do
  # shellcheck disable=SC2086 # the words are the arguments
  run "$vtrak" $arguments
  [ "$status" -eq 1 ] || fail "vtrak $arguments ended with $status, not as start-up without a display"
  grep -q '^vtrak: no display' "$work/err" || fail "vtrak $arguments said: $(cat "$work/err")"
done

runtime=""
run "$vtrak"
[ "$status" -eq 1 ] || fail "without a runtime folder the game ended with $status"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q '^vtrak: no display' "$work/err" ||
  fail "without a runtime folder it said: $(cat "$work/err")"

[ "$("$tool" --version)" = "vtrak-tool $version" ] || fail "vtrak-tool --version said: $("$tool" --version)"
set +e
"$vtrak" --version >/dev/full 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "a version not written ended with $status"

# One copy per user: while a first copy runs (headless), a second start finds
# it whatever runtime or temp folder its environment names.
env SDL_VIDEODRIVER=dummy ALSOFT_DRIVERS=null XDG_RUNTIME_DIR="$work/run" HOME="$work/home" \
  "$vtrak" >/dev/null 2>&1 &
first=$!
trap 'kill $first; rm -rf "$work"' EXIT
another_copy() { run "$vtrak" && [ "$status" -eq 0 ] && grep -q 'another copy' "$work/err"; }
# Its lock file open, and no second start yet that could take the lock first.
holds_lock() { grep -q 'dolk\.lock' <<<"$(ls -l "/proc/$first/fd" 2>/dev/null)"; }
wait_for holds_lock || fail "the first copy took no lock"
runtime="$work/run"
another_copy || fail "a second start with the first's environment said: $(cat "$work/err")"
mkdir -m 700 "$work/run2" "$work/tmp2"
for runtime in "" "$work/run2"; do
  tmp="$work/tmp2" another_copy || fail "a second start with XDG_RUNTIME_DIR=$runtime said: $(cat "$work/err")"
done
echo PASS
