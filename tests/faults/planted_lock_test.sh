#!/usr/bin/env bash
# Another local user plants the lock: a held lock file at a predictable name
# in a shared temp folder named by TMPDIR, or the game's own folder name
# (/tmp/vtrak-UID) made first, open to all, with a link inside. Either way the
# game starts, keeps its lock where no one else can reach it, and nothing is
# created or written through the planted link. (The test's lock places are
# its own: see tests/person/lib.sh.)
# Usage: planted_lock_test.sh BIN_FOLDER. Needs root, to act as another user.
source "$(dirname "$0")/fault_lib.sh"
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
  skip "acting as another user needs root and setpriv"
fi
other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
start_desktop
game_folder=$(copy_game "$1")
shared=$(mktemp -d)
chmod 1777 "$shared" # a temp folder shared by every user, as /tmp is
holder=""
trap 'kill $holder 2>/dev/null || true; rm -rf "$game_folder" "$shared"; stop_desktop' EXIT
own="/tmp/vtrak-$(id -u)"

# Lock files at the names an older game used, created and held by the other user.
mkdir -m 1777 "$shared/a"
"${other[@]}" mkdir -m 0777 "$shared/a/vtrak-$(id -u)"
"${other[@]}" flock --no-fork "$shared/a/vtrak-$(id -u)/dolk.lock" sleep 120 >/dev/null 2>&1 &
holder=$!
wait_for test -e "$shared/a/vtrak-$(id -u)/dolk.lock" || fail "the other user's lock was not made"
start_game "$game_folder" -u XDG_RUNTIME_DIR TMPDIR="$shared/a"
[ "$(stat -c '%u %a %F' "$own/dolk.lock")" = "$(id -u) 600 regular empty file" ] ||
  fail "the game's lock is not its own: $(stat -c '%U %a %F' "$own/dolk.lock")"
close_game "$WINDOW" "$GAME"

# The game's folder name taken first, open to all, with a link as the lock.
mkdir -m 1777 "$shared/b"
"${other[@]}" mkdir -m 0777 "$shared/b/planted"
"${other[@]}" ln -s "$shared/b/victim" "$shared/b/planted/dolk.lock"
mount --bind "$shared/b/planted" "$own"
start_game "$game_folder"
close_game "$WINDOW" "$GAME"
umount "$own"
[ ! -e "$shared/b/victim" ] || fail "the game created a file through the planted link"
echo PASS
