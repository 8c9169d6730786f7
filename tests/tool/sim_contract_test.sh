#!/usr/bin/env bash
# The simulator's command-line contract, which scripts depend on.
set -euo pipefail
TOOL="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The trace: header, one row per step, the first post ends an idle run in step 349.
"$TOOL" sim --seed 7 --steps 350 --trace "$work/trace.csv"
[ "$(head -n1 "$work/trace.csv")" = "step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer" ] ||
  fail "trace header: $(head -n1 "$work/trace.csv")"
[ "$(wc -l <"$work/trace.csv")" -eq 351 ] || fail "trace rows: $(wc -l <"$work/trace.csv")"
row=$(sed -n 350p "$work/trace.csv")
case "$row" in 349,34,349,*,*,*,1,0) ;; *) fail "step 349 row: $row" ;; esac

# Keys: a press in the jump window clears the first post; X restarts the dead run.
[ "$("$TOOL" sim --seed 7 --steps 360 --keys z@330 --trace - | tail -n1 | cut -d, -f7)" = 0 ] ||
  fail "a press of Z in step 330 did not clear the first post"
last=$("$TOOL" sim --seed 7 --steps 402 --keys x@400-402 --trace - | tail -n1)
case "$last" in 402,0,2,-2900,3000,0,0,0) ;; *) fail "after X in steps 400-402: $last" ;; esac

# The same seed gives the same run (that autoplay never dies is the soak's).
a=$("$TOOL" sim --seed 11 --steps 3000 --autoplay --trace - | md5sum)
b=$("$TOOL" sim --seed 11 --steps 3000 --autoplay --trace - | md5sum)
[ "$a" = "$b" ] || fail "the same seed gave two different runs"

# Runs kept and replayed: a restart with Z held in it (its jump goes on into the
# run) replays the very steps the whole trace made after the restart; the run
# in play when the steps run out is kept too.
"$TOOL" sim --seed 7 --steps 1500 --keys x@400-405,z@400-402,z@734-735,x@1300 --record "$work/runs" \
  --trace "$work/whole.csv"
"$TOOL" sim --replay "$work/runs" --run 2 --trace "$work/replay.csv"
[ "$(grep -c '^vtrak-run 1$' "$work/runs")" -eq 3 ] || fail "runs kept: $(cat "$work/runs")"
awk -F, -v OFS=, 'NR > 1 && $1 > 400 && $1 <= 881 { $1 -= 400; print }' "$work/whole.csv" |
  cmp -s - <(tail -n +2 "$work/replay.csv") || fail "the replayed run is not the run played"
grep -q '^481,.*,1,' <<<"$("$TOOL" sim --replay "$work/runs" --trace - | tail -n1)" || fail "best run"
# A file of anything else is refused with one line naming its line, and added
# to never; a run whose keys do not give its end is refused when replayed.
printf 'vtrak-run 2\n' >"$work/newer"
printf 'vtrak-run 1\nrand 7\nz down 9\nx up 3\nmiss 9 score 9\n' >"$work/disorder"
printf 'vtrak-run 1\nrand 7\nmiss 350 score 350\n' >"$work/forged"
printf 'vtrak-run 1\nrand 7\nz down -0\nmiss 9 score 9\n' >"$work/minus"
for case in newer:1:11 disorder:4:11 forged:0:10 minus:3:11; do
  file=${case%%:*} line=${case#*:}
  set +e
  "$TOOL" sim --replay "$work/$file" 2>"$work/err"
  status=$?
  "$TOOL" sim --record "$work/$file" --steps 1 2>>"$work/err"
  status=$status$?
  set -e
  [ "$status" = "${line#*:}" ] && [ "$(wc -l <"$work/err")" -eq $((${status:0:1} + ${status:1:1})) ] ||
    fail "$file: $status $(cat "$work/err")"
  [ "${line%:*}" = 0 ] || grep -q "/$file:${line%:*}: " "$work/err" || fail "$(cat "$work/err")"
done

# The draw log: every call of a step, in order.
"$TOOL" sim --seed 1 --steps 1 --draws "$work/draws.txt"
[ "$(wc -l <"$work/draws.txt")" -eq 17 ] || fail "draw calls of step 1: $(wc -l <"$work/draws.txt")"
[ "$(sed -n 8p "$work/draws.txt")" = "1 line 80 90 560 90" ] || fail "span line: $(sed -n 8p "$work/draws.txt")"
[ "$(tail -n1 "$work/draws.txt")" = "1 text 480 440 z : jUmp    x : rEstArt" ] || fail "last call"

# Frames: the last step by default, every K steps with --png-every.
"$TOOL" sim --seed 1 --steps 30 --png "$work/frames"
[ "$(ls "$work/frames")" = "frame-000030.png" ] || fail "default frames: $(ls "$work/frames")"
"$TOOL" sim --seed 1 --steps 30 --png "$work/every" --png-every 10
[ "$(ls "$work/every" | tr '\n' ' ')" = "frame-000010.png frame-000020.png frame-000030.png " ] ||
  fail "frames every 10: $(ls "$work/every")"

# Bad options: usage on stderr, status 2.
for bad in "--steps" "--steps -1" "--keys q@1" "--keys z@0" "--png-every 0" "--nonsense" \
  "--run 1" "--replay x --seed 1"; do
  set +e
  # shellcheck disable=SC2086
  "$TOOL" sim $bad >/dev/null 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "\"$bad\" ended with $status"
  grep -q '^usage:' "$work/err" || fail "\"$bad\" printed no usage"
done
# Whatever the outside hands it: an empty file name is a usage error; the
# first write that fails, to a full disk or into a closed pipe (whether the
# launcher left SIGPIPE at its default or ignored it), ends the run with one
# line and status 1; asked for its usage or version on a full disk, the tool
# fails; a name it repeats is escaped.
for option in --trace --draws --png; do
  set +e
  "$TOOL" sim "$option" "" >/dev/null 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "$option \"\" ended with $status"
done
set +e
timeout 60 "$TOOL" sim --steps 1000000000000 --trace /dev/full 2>"$work/err"
full=$?
for pipe in default ignore; do
  env --"$pipe"-signal=PIPE timeout 60 "$TOOL" sim --steps 1000000000000 --trace - 2>"$work/err2" | true
  piped=${PIPESTATUS[0]}
  [ "$piped" -eq 1 ] && [ "$(wc -l <"$work/err2")" -eq 1 ] ||
    fail "a closed pipe, SIGPIPE at $pipe: status $piped: $(cat "$work/err2")"
done
"$TOOL" --help >/dev/full 2>/dev/null && fail "--help on a full disk ended with 0"
"$TOOL" --version >/dev/full 2>/dev/null && fail "--version on a full disk ended with 0"
"$TOOL" --version >&- 2>/dev/null && fail "--version with standard output closed ended with 0"
"$TOOL" $'\xC2\x9B\x9B' 2>"$work/err3"
grep -qF 'unknown command "\u009B\x9B"' "$work/err3" || fail "a CSI was printed raw: $(cat -v "$work/err3")"
set -e
[ "$full" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "a full disk: status $full: $(cat "$work/err")"
echo PASS
