#!/usr/bin/env bash
# `cmake --install` into a fresh prefix with a space in it: the layout, and the
# desktop files as the desktop's own checkers see them — the menu entry, the
# AppStream metainfo, the man pages without formatter warnings, and the icon
# theme's PNGs, every size the same picture with hard edges.
here="$(dirname "$0")"
source "$here/../person/lib.sh"
source "$here/installed_tree.sh"
BUILD_DIR="$1"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/a prefix"
mkdir -p "$prefix"
install_tree "$BUILD_DIR" "$prefix"
check_layout "$prefix"

entry="$prefix/share/applications/org.vtrak.vtrak.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
[ "$(desktop_exec_program "$entry")" = "$prefix/games/vtrak" ] ||
  fail "the menu entry starts \"$(desktop_exec_program "$entry")\", not the launcher"
grep -qx 'Icon=vtrak' "$entry" || fail "the menu entry names no vtrak icon"
grep -qx 'Categories=Game;ArcadeGame;' "$entry" || fail "the menu entry is not in Game"

metainfo="$prefix/share/metainfo/org.vtrak.vtrak.metainfo.xml"
report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) ||
  fail "appstreamcli rejects $metainfo: $report"
# (AppStream before 1.0 notes the <developer> tag 1.0 asks for as unknown.)
notes=$(grep -v ': unknown-tag developer$' <<<"$report" || true)
! grep -q '^[EWIP]: ' <<<"$notes" || fail "appstreamcli notes on $metainfo: $report"
grep -q '<url type="homepage">' "$metainfo" || fail "the metainfo names no home page"
grep -q '<launchable type="desktop-id">org.vtrak.vtrak.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch the installed menu entry"

for page in man6/vtrak.6.gz man1/vtrak-tool.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  grep -q '^NAME' <<<"$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/$page" 2>/dev/null)" ||
    fail "$page shows no NAME section"
done

icons="$prefix/share/icons/hicolor"
for size in 32 64 128 256; do
  grep -q "^PNG image data, $size x $size," <<<"$(file -b "$icons/${size}x${size}/apps/vtrak.png")" ||
    fail "the ${size}x${size} icon is $(file -b "$icons/${size}x${size}/apps/vtrak.png")"
  differing=$(convert "$icons/32x32/apps/vtrak.png" -filter point -resize "${size}x${size}" png:- |
    compare -metric AE - "$icons/${size}x${size}/apps/vtrak.png" null: 2>&1 || true)
  [ "$differing" = 0 ] || fail "the ${size}x${size} icon differs from the 32x32 one in $differing pixels"
done
# The design: a black border, the playfield's white frame inside it.
[ "$(pixel_at "$icons/32x32/apps/vtrak.png" 0 0)" = "srgb(0,0,0)" ] || fail "icon pixel (0,0) is not black"
[ "$(pixel_at "$icons/32x32/apps/vtrak.png" 1 1)" = "srgb(255,255,255)" ] ||
  fail "icon pixel (1,1) is not white"
echo "PASS"
