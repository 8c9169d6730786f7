#!/usr/bin/env bash
# Another local user plants the lock without XDG_RUNTIME_DIR: a held lock
# file at the predictable name in the shared temp folder, or the game's own
# folder name made first, with a link inside. Either way the game starts, and
# nothing is created or written through the planted link.
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

# A lock file at the predictable name, created and held by the other user.
mkdir -m 1777 "$shared/a"
"${other[@]}" flock --no-fork "$shared/a/dolk-$(id -u).lock" sleep 120 >/dev/null 2>&1 &
holder=$!
wait_for test -e "$shared/a/dolk-$(id -u).lock" || fail "the other user's lock was not made"
start_game "$game_folder" -u XDG_RUNTIME_DIR TMPDIR="$shared/a"
close_game "$WINDOW" "$GAME"
[ "$(stat -c '%u %a' "$shared/a/vtrak-$(id -u)")" = "$(id -u) 700" ] ||
  fail "the game's lock folder is not private: $(stat -c '%U %a' "$shared/a/vtrak-$(id -u)")"

# The game's folder name taken first, open to all, with a link as the lock.
mkdir -m 1777 "$shared/b"
"${other[@]}" mkdir -m 0777 "$shared/b/vtrak-$(id -u)"
"${other[@]}" ln -s "$shared/b/victim" "$shared/b/vtrak-$(id -u)/dolk.lock"
start_game "$game_folder" -u XDG_RUNTIME_DIR TMPDIR="$shared/b"
close_game "$WINDOW" "$GAME"
[ ! -e "$shared/b/victim" ] || fail "the game created a file through the planted link"
echo PASS
