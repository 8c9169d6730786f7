#!/usr/bin/env bash
# No font at all (fontconfig given an empty configuration): the game starts
# and plays, its lines are drawn, its texts are missing, and closing it ends
# it with 0. Usage: no_font_test.sh BIN_FOLDER
source "$(dirname "$0")/fault_lib.sh"
start_desktop
game_folder=$(copy_game "$1")
trap 'rm -rf "$game_folder"; stop_desktop' EXIT
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$PERSON_TMP/empty.conf"

start_game "$game_folder" FONTCONFIG_FILE="$PERSON_TMP/empty.conf"
expect_playfield "$PERSON_TMP/frame.png" "without a font"
# The head-up text at (16, 16) and the key help at (480, 440) are white-rimmed
# when drawn; without a font nothing is lit there.
lit_in "$PERSON_TMP/frame.png" 16 16 300 14 && fail "head-up text drawn without a font"
lit_in "$PERSON_TMP/frame.png" 480 440 150 14 && fail "key help drawn without a font"
close_game "$WINDOW" "$GAME"

# The same game with the system's fonts draws its texts: the check above can see them.
start_game "$game_folder"
expect_playfield "$PERSON_TMP/fonts.png" "with the system's fonts"
lit_in "$PERSON_TMP/fonts.png" 16 16 300 14 || fail "no head-up text even with fonts"
close_game "$WINDOW" "$GAME"
echo PASS
