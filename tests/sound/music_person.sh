#!/usr/bin/env bash
# The music as a person hears it: the real game on a real display, its sound
# captured through OpenAL Soft's wave back end. bgm.wav plays from its start
# and loops on past its end without a break; without bgm.wav, or without any
# sound device, the game starts and runs in silence; without a device it says
# so in one line, and nothing else on standard error.
source "$(dirname "$0")/../person/lib.sh"
VTRAK="$1"
CHECK="$2"

export ALSOFT_DRIVERS=wave
start_desktop

# A copy of the game in a folder of its own, with a short tune of our own.
program="$PERSON_TMP/program"
mkdir "$program"
cp "$VTRAK" "$program/vtrak"
"$CHECK" write "$program/bgm.wav"

# Whether the capture $1 holds $2 seconds of sound: its size against the
# bytes a second its header states.
holds_seconds() {
  local rate
  rate=$(od -An -tu4 -j28 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ "${rate:-0}" -gt 0 ] && [ "$(stat -c %s "$1")" -ge $((rate * $2 + 100)) ]
}

# Runs the game writing its sound to $2 (its standard error to $3, if given)
# until the capture holds $1 seconds (0: until the window shows), then closes
# it (status 0).
play_for() {
  local seconds="$1" capture="$2" game id
  # The tune's own rate and sample type, undithered: OpenAL Soft 1.24's wave
  # device would mix at 48 kHz in floats, no longer the samples bgm.wav holds.
  printf '[general]\ndrivers=wave\nfrequency=44100\nsample-type=int16\ndither=false\n[wave]\nfile=%s\n' \
    "$capture" >"$PERSON_TMP/alsoft.conf"
  ALSOFT_CONF="$PERSON_TMP/alsoft.conf" "$program/vtrak" 2>"${3:-/dev/stderr}" &
  game=$!
  id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"
  [ "$seconds" -eq 0 ] || wait_for holds_seconds "$capture" "$seconds" ||
    fail "the capture never held $seconds s of sound"
  kill -0 "$game" 2>/dev/null || fail "the game ended while it played"
  close_game "$id" "$game"
}

# 0.75 s of tune, 3 s of sound: the capture holds it from its start, at least
# twice round, unbroken to the end.
play_for 3 "$PERSON_TMP/music.wav"
"$CHECK" loops "$PERSON_TMP/music.wav" "$program/bgm.wav" 2 || fail "the music did not loop"

# No bgm.wav: the game runs, and the device hears nothing.
rm "$program/bgm.wav"
play_for 2 "$PERSON_TMP/quiet.wav"
"$CHECK" silent "$PERSON_TMP/quiet.wav" || fail "sound without bgm.wav"

# No sound device at all, as ALSA sees a machine without a card: the game
# still starts and runs.
"$CHECK" write "$program/bgm.wav"
: >"$PERSON_TMP/no-card.conf"
export ALSOFT_DRIVERS=alsa ALSA_CONFIG_PATH="$PERSON_TMP/no-card.conf"
play_for 0 "$PERSON_TMP/none.wav" "$PERSON_TMP/none.err"
[ ! -e "$PERSON_TMP/none.wav" ] || fail "a sound device was opened after all"
[ "$(wc -l <"$PERSON_TMP/none.err")" -eq 1 ] && grep -q '^vtrak: no sound device' "$PERSON_TMP/none.err" ||
  fail "without a sound device the game said: $(cat "$PERSON_TMP/none.err")"
echo "PASS"
