#!/usr/bin/env bash
# A player's view of an installed V-TRAK: after `cmake --install` into a
# prefix with a space in its path, the menu entry's command opens the window
# "V-TRAK" with the installed icon; the game runs from its own folder; closing the window
# ends it with 0 and leaves the data folder as it was.
here="$(dirname "$0")"
source "$here/../person/lib.sh"
source "$here/installed_tree.sh"
BUILD_DIR="$1"

start_desktop
prefix="$PERSON_TMP/a prefix/usr"
mkdir -p "$prefix"
install_tree "$BUILD_DIR" "$prefix"
entry=$(ls "$prefix"/share/applications/*.desktop)
launcher=$(desktop_exec_program "$entry")
[ "$launcher" = "$prefix/games/vtrak" ] || fail "the menu entry starts \"$launcher\""

# Started from an unrelated folder, as a menu would.
(cd / && exec "$launcher") &
game=$!
id=$(wait_window "V-TRAK") || fail "no window titled V-TRAK appeared from $launcher"
# The window's icon is the installed 32x32 icon, pixel for pixel: width,
# height, then opaque ARGB words row by row.
window_icon=$(xprop -id "$id" -notype -f _NET_WM_ICON 32c _NET_WM_ICON |
  sed 's/^[^=]*= *//' | tr -d ' ' | tr ',' '\n' | sed -n "1,$((2 + 32 * 32))p")
theme_icon=$(printf '32\n32\n'
  convert "$prefix/share/icons/hicolor/32x32/apps/vtrak.png" -depth 8 txt:- |
    awk 'NR > 1 {print $3}' | while read -r rgb; do echo $((0xFF${rgb#\#})); done)
[ "$window_icon" = "$theme_icon" ] ||
  fail "the window's icon is not the installed 32x32 icon: ${window_icon:0:80}"
grep -q '"dolk"' <<<"$(xprop -id "$id" WM_CLASS)" || fail "WM_CLASS is $(xprop -id "$id" WM_CLASS)"

game_folder="$prefix/lib/vtrak"
[ "$(readlink "/proc/$game/exe")" = "$game_folder/vtrak" ] ||
  fail "the running program is $(readlink "/proc/$game/exe")"
[ "$(readlink "/proc/$game/cwd")" = "$game_folder" ] ||
  fail "the game runs in $(readlink "/proc/$game/cwd"), not its own folder"

close_game "$id" "$game"
[ -z "$(ls -A "$game_folder/data")" ] || fail "the game wrote into data/: $(ls -A "$game_folder/data")"
echo "PASS"
