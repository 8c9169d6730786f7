#!/usr/bin/env bash
# A bad bgm.wav beside the game: cut off inside its header, claiming 4 GiB of
# sound data, a FIFO that no one writes, or a link to /dev/zero. Either way
# the game starts at once and plays silently, closes with 0, and the file is
# left as it was. A 2 GiB sparse bgm.wav whose marker sits at its end is read
# through quickly, and the game stays closable while it does.
# Usage: bad_music_test.sh BIN_FOLDER
source "$(dirname "$0")/fault_lib.sh"
start_desktop
game_folder=$(copy_game "$1")
trap 'rm -rf "$game_folder"; stop_desktop' EXIT

header='RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data'
for case in truncated huge fifo zero; do
  rm -f "$game_folder/bgm.wav"
  case "$case" in
    truncated) printf "$header" >"$game_folder/bgm.wav" && truncate -s 30 "$game_folder/bgm.wav" ;;
    huge) printf "$header"'\xff\xff\xff\xff0123456789abcdef' >"$game_folder/bgm.wav" ;;
    fifo) mkfifo "$game_folder/bgm.wav" ;;
    zero) ln -s /dev/zero "$game_folder/bgm.wav" ;;
  esac
  before=$(fingerprint "$game_folder")
  start_game "$game_folder"
  expect_playfield "$PERSON_TMP/$case.png" "with a $case bgm.wav"
  close_game "$WINDOW" "$GAME"
  [ "$(fingerprint "$game_folder")" = "$before" ] || fail "the game changed its folder ($case bgm.wav)"
done

# 2 GiB of nothing, then the header's markers: the scan reads it all.
rm -f "$game_folder/bgm.wav"
truncate -s 2G "$game_folder/bgm.wav"
printf 'fmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\x10\x00\x00\x00' \
  >>"$game_folder/bgm.wav"
start_game "$game_folder"
close_game "$WINDOW" "$GAME"
# Asked to end while it reads, it ends (with 0) instead of carrying on.
(cd "$game_folder" && exec ./vtrak) &
game=$!
# (On a fast machine the read may be over, and the window up, before we look.)
reading_or_done() {
  grep -q 'bgm.wav$' <<<"$(ls -l "/proc/$game/fd" 2>/dev/null)" || xdotool search --onlyvisible --name '^V-TRAK$'
}
wait_for reading_or_done >/dev/null || fail "the game neither read bgm.wav nor showed its window"
kill -TERM "$game"
expect_end_0 "$game" "SIGTERM while it read bgm.wav"
echo PASS
