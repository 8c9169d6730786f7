#!/usr/bin/env bash
# A damaged bgm.wav beside the game: cut off inside its header, or claiming
# 4 GiB of sound data. Either way the game starts and plays silently, closes
# with 0, and the file is left as it was. Usage: bad_music_test.sh BIN_FOLDER
source "$(dirname "$0")/fault_lib.sh"
start_desktop
game_folder=$(copy_game "$1")
trap 'rm -rf "$game_folder"; stop_desktop' EXIT

header='RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data'
for case in truncated huge; do
  if [ "$case" = truncated ]; then
    printf "$header" | head -c 30 >"$game_folder/bgm.wav"
  else
    printf "$header"'\xff\xff\xff\xff0123456789abcdef' >"$game_folder/bgm.wav"
  fi
  before=$(fingerprint "$game_folder")
  start_game "$game_folder"
  sleep 2
  kill -0 "$GAME" 2>/dev/null || fail "the game ended with a $case bgm.wav"
  expect_playfield "$PERSON_TMP/$case.png"
  close_game "$WINDOW" "$GAME"
  [ "$(fingerprint "$game_folder")" = "$before" ] || fail "the game changed its folder ($case bgm.wav)"
done
echo PASS
