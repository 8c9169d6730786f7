#!/usr/bin/env bash
# The game in a folder it may not write to: it starts, plays and closes with
# 0; an Ogg load there (vtrak-tool sound) fails with one line and status 1;
# nothing in the folder changes.
# Usage: read_only_folder_test.sh BIN_FOLDER SOUND_FILE_WRITER
source "$(dirname "$0")/fault_lib.sh"
bin="$(cd "$1" && pwd)"
start_desktop
game_folder=$(copy_game "$bin")
trap 'chmod -R u+w "$game_folder"; rm -rf "$game_folder"; stop_desktop' EXIT
"$2" "$PERSON_TMP/files/wav" "$PERSON_TMP/files/ogg"
cp "$PERSON_TMP/files/ogg/stereo.ogg" "$game_folder/music.ogg"
printf 'RIFF an earlier result' >"$game_folder/data/result.wav"
before=$(fingerprint "$game_folder")

# Runs a command inside the read-only folder. Root writes through permission
# bits, so root gets a read-only bind mount in a mount namespace of its own.
if [ "$(id -u)" -eq 0 ]; then
  in_read_only_folder() {
    unshare -m bash -c 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && cd "$0" &&
      exec "$@"' "$game_folder" "$@"
  }
else
  chmod -R a-w "$game_folder"
  in_read_only_folder() { (cd "$game_folder" && exec "$@"); }
fi
# In a chroot, for one, root may not make the mount namespace.
why=$(in_read_only_folder true 2>&1) || skip "cannot run a command in a read-only folder here: $why"
in_read_only_folder touch probe 2>/dev/null && fail "the folder could be written"

in_read_only_folder ./vtrak &
GAME=$!
WINDOW=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared in a read-only folder"
expect_playfield "$PERSON_TMP/frame.png" "in a read-only folder"
close_game "$WINDOW" "$GAME"

set +e
message=$(in_read_only_folder "$bin/vtrak-tool" sound music.ogg 2>&1 >/dev/null)
status=$?
set -e
[ "$status" -eq 1 ] || fail "the Ogg load in a read-only folder ended with $status ($message)"
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || fail "more than one line: $message"
case "$message" in "error: "*) ;; *) fail "the Ogg load said '$message'" ;; esac
[ "$(fingerprint "$game_folder")" = "$before" ] || fail "files in the read-only folder changed"
echo PASS
