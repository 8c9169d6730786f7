#!/usr/bin/env bash
# Shared by the packaging tests: an install of the build tree into a fresh
# prefix, and the command line of a desktop entry. Source it after
# tests/person/lib.sh (for fail).

# Installs build folder $1 under prefix $2 with `cmake --install`.
install_tree() {
  "${CMAKE:-cmake}" --install "$1" --prefix "$2" >"$2.install.log" 2>&1 ||
    fail "cmake --install to $2 failed: $(tail -n 5 "$2.install.log")"
}

# Prints the program of desktop entry $1's Exec key, its quoting undone: the
# string escapes first (\\ for \), then the quoted argument as the shell reads
# double quotes (\", \`, \$, \\), which is the same rule.
desktop_exec_program() {
  local line
  line=$(sed -n 's/^Exec=//p' "$1")
  [ -n "$line" ] || fail "$1 has no Exec key"
  line=${line//%%/%}
  line=${line//\\\\/\\}
  local -a words
  eval "words=($line)"
  printf '%s\n' "${words[0]}"
}

# Every file, link and empty folder an install puts under its prefix.
expected_layout() {
  LC_ALL=C sort <<'LIST'
games/vtrak
games/vtrak-tool
lib/vtrak/bgm.wav
lib/vtrak/data
lib/vtrak/vtrak
share/applications/org.vtrak.vtrak.desktop
share/doc/vtrak/changelog.gz
share/doc/vtrak/copyright
share/icons/hicolor/128x128/apps/vtrak.png
share/icons/hicolor/256x256/apps/vtrak.png
share/icons/hicolor/32x32/apps/vtrak.png
share/icons/hicolor/64x64/apps/vtrak.png
share/man/man1/vtrak-tool.1.gz
share/man/man6/vtrak.6.gz
share/metainfo/org.vtrak.vtrak.metainfo.xml
LIST
}

# Checks the installed tree under prefix $1: nothing missing or extra, the
# game folder complete, the launcher a relative link into it.
check_layout() {
  local prefix="$1" actual
  actual=$(cd "$prefix" && find . -mindepth 1 \( -type f -o -type l -o -type d -empty \) |
    sed 's#^\./##' | LC_ALL=C sort)
  diff <(expected_layout) <(printf '%s\n' "$actual") >&2 ||
    fail "the files under $prefix differ from the expected layout (see above)"

  local game="$prefix/lib/vtrak"
  [ "$(readlink "$prefix/games/vtrak")" = "../lib/vtrak/vtrak" ] ||
    fail "games/vtrak points to \"$(readlink "$prefix/games/vtrak")\""
  [ "$(realpath "$prefix/games/vtrak")" = "$(realpath "$game/vtrak")" ] ||
    fail "games/vtrak does not lead to the game folder's program"
  [ -x "$game/vtrak" ] && grep -q '^ELF' <<<"$(file -b "$game/vtrak")" ||
    fail "lib/vtrak/vtrak is not an executable program: $(file -b "$game/vtrak")"
  [ -x "$prefix/games/vtrak-tool" ] || fail "games/vtrak-tool is not executable"
  [ "$(head -c 4 "$game/bgm.wav")" = RIFF ] && [ "$(head -c 12 "$game/bgm.wav" | tail -c 4)" = WAVE ] ||
    fail "lib/vtrak/bgm.wav is not a WAV file"
  [ "$(stat -c %a "$game/data")" = 755 ] || fail "data/ has mode $(stat -c %a "$game/data")"
  local page
  for page in "$prefix"/share/man/man*/*.gz "$prefix/share/doc/vtrak/changelog.gz"; do
    gzip -t "$page" || fail "$page is not gzip data"
  done
}
