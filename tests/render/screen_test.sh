#!/usr/bin/env bash
# The running game on a real desktop, as a person sees it: the playfield and
# the head-up text where they belong, and minimising that halts the run until
# the window comes back, where it goes on from the step it stopped at.
#
# Until the figure reaches the first post nothing random happens, so the
# window must show, pixel for pixel, the simulator's frame of the same step:
# that tells which step a screenshot shows.
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
TOOL="$2"

start_desktop
frames="$PERSON_TMP/frames"
"$TOOL" sim --steps 340 --png "$frames" --png-every 1 >/dev/null ||
  fail "the simulator wrote no frames"
declare -A stepOf
while read -r name signature; do
  name=${name#frame-}
  stepOf[$signature]=$((10#${name%.png}))
done < <(identify -format "%f %#\n" "$frames"/frame-*.png)

# The step shown in the window once it shows a frame of the first 340 steps
# later than step $2 (default: any), or nothing when it never does: a window
# just restored may not have been drawn yet.
step_on_screen() {
  local shot="$PERSON_TMP/shot-$1.png" after="${2:--1}" signature step
  local deadline=$((SECONDS + PERSON_PATIENCE))
  while [ "$SECONDS" -lt "$deadline" ]; do
    signature=""
    screenshot "$id" "$shot" 2>/dev/null && signature=$(identify -format "%#" "$shot" 2>/dev/null)
    step="${stepOf[$signature]:-}"
    if [ -n "$step" ] && [ "$step" -gt "$after" ]; then
      echo "$step"
      return 0
    fi
    sleep 0.05
  done
  return 1
}
now_ms() { date +%s%3N; }

"$VTRAK" &
game=$!
id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"
a=$(step_on_screen a) || fail "the window does not show the game's frame (see $PERSON_TMP/shot-a.png)"

# Minimised for three seconds, some 180 steps' time: no steps. The run goes on
# only while the window shows, from the reading before minimising to the one
# after restoring: at most 60 steps a second of that, and a few more.
shown_from=$(now_ms)
m=$(step_on_screen m) || fail "the window stopped showing the run"
xdotool windowminimize --sync "$id"
shown_ms=$(($(now_ms) - shown_from))
sleep 3
shown_from=$(now_ms)
xdotool windowactivate --sync "$id" 2>/dev/null
b=$(step_on_screen b) || fail "after restoring, the window shows no frame of the run"
shown_ms=$((shown_ms + $(now_ms) - shown_from))
[ "$b" -ge "$m" ] || fail "the run went back from step $m to step $b"
[ $((b - m)) -le $((shown_ms * 60 / 1000 + 10)) ] ||
  fail "the run went on while minimised: step $m before, $b after, $shown_ms ms shown"

# Restored: the steps go on.
c=$(step_on_screen c "$b") || fail "the run did not go on after restoring from step $b"

# What a person checks by eye: white frame lines, black beside them, the
# head-up text in the top left and the key help at the bottom right.
shot="$PERSON_TMP/shot-a.png"
for point in "300 60" "300 400" "300 280" "80 200" "560 200"; do
  [ "$(pixel_at "$shot" $point)" = "gray(255)" ] || [ "$(pixel_at "$shot" $point)" = "srgb(255,255,255)" ] ||
    fail "no white frame line at ($point): $(pixel_at "$shot" $point)"
done
for point in "40 200" "600 300" "300 450"; do
  case "$(pixel_at "$shot" $point)" in gray\(0\) | srgb\(0,0,0\)) ;; *) fail "($point) is not black" ;; esac
done
for box in "280x16+14+14" "160x16+478+438"; do
  white=$(convert "$shot" -crop "$box" +repage -threshold 50% -format "%[fx:mean*w*h]" info:)
  [ "${white%.*}" -gt 100 ] || fail "no text in the box $box ($white white pixels)"
done

kill "$game"
wait "$game" 2>/dev/null || true
echo "PASS: steps $a, then $m before and $b after three seconds minimised, $c"
