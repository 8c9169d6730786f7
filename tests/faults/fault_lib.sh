#!/usr/bin/env bash
# Helpers shared by the fault tests, on top of tests/person/lib.sh.
source "$(dirname "${BASH_SOURCE[0]}")/../person/lib.sh"

# Copies the game (vtrak, bgm.wav, data/) from the build's bin folder $1 into
# a new folder of its own and prints that folder.
copy_game() {
  local bin="$1" folder
  folder=$(mktemp -d)
  cp "$bin/vtrak" "$folder/"
  [ -e "$bin/bgm.wav" ] && cp "$bin/bgm.wav" "$folder/"
  mkdir "$folder/data"
  echo "$folder"
}

# A fingerprint of every file below $1: names, sizes and contents.
fingerprint() {
  (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

# Whether any pixel of the rectangle (x, y, width, height) of image $1 is lit.
lit_in() {
  local max
  max=$(convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -format '%[fx:maxima]' info:)
  awk -v m="$max" 'BEGIN {exit !(m > 0.5)}'
}

# Starts the game in folder $1 with the rest of the arguments as environment
# settings; sets GAME (its process id) and WINDOW (its window id).
start_game() {
  local folder="$1"
  shift
  (cd "$folder" && exec env "$@" ./vtrak) &
  GAME=$!
  WINDOW=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared"
}

# The game's window shows the playfield (its top edge at y = 60 lit) in a
# screenshot saved as $1, or the game has ended.
playfield_or_end() {
  ended "$GAME" || { screenshot "$WINDOW" "$1" 2>/dev/null && lit_in "$1" 100 60 400 1; }
}

# Waits for the game to draw its playfield, into the screenshot $1; fails,
# naming $2, when the game ends first or never draws it.
expect_playfield() {
  wait_for playfield_or_end "$1" || fail "no playfield in $1 ($2)"
  ended "$GAME" && fail "the game ended $2"
  return 0
}
