#!/usr/bin/env bash
# The Debian package as a packager checks it: `cpack -G DEB` makes one
# vtrak_VERSION_ARCH.deb; its control names the game's runtime packages and
# the font; every entry belongs to root; unpacked with `dpkg -x` into a
# throwaway root it holds exactly the installed layout under /usr with the
# menu entry starting /usr/games/vtrak; the packed programs are stripped and
# the packed vtrak-tool runs from there; lintian passes it.
here="$(dirname "$0")"
source "$here/../person/lib.sh"
source "$here/installed_tree.sh"
BUILD_DIR="$1"
VERSION="$2"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"${CPACK:-cpack}" -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack -G DEB failed: $(tail -n 5 "$work/cpack.log")"
deb="$work/out/vtrak_${VERSION}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vtrak ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$VERSION" ] || fail "Version is $(field Version)"
[ "$(field Section)" = games ] || fail "Section is $(field Section)"
[ -n "$(field Homepage)" ] || fail "the package names no Homepage"
depends=$(field Depends)
# Debian 13 renamed some libraries' packages for its 64-bit time (NAMEt64).
for package in libsdl2-2.0-0 libopenal1 libvorbisfile3 libfreetype6 libfontconfig1 libpng16-16 \
  zlib1g fonts-ipafont-gothic libc6 libstdc++6; do
  [[ ", $depends," =~ ", $package"(t64)?[\ ,] ]] || fail "Depends lacks $package: $depends"
done

owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || fail "entries owned by $owners"

root="$work/root"
dpkg -x "$deb" "$root"
[ "$(ls -A "$root")" = usr ] || fail "the package puts files outside /usr: $(ls -A "$root")"
check_layout "$root/usr"
[ "$(desktop_exec_program "$root/usr/share/applications/org.vtrak.vtrak.desktop")" = \
  /usr/games/vtrak ] || fail "the packed menu entry does not start /usr/games/vtrak"
for program in lib/vtrak/vtrak games/vtrak-tool; do
  grep -q ', stripped' <<<"$(file -b "$root/usr/$program")" || fail "$program is not stripped"
done

# Debian's own checks: no error and no warning (informational notes may stay).
command -v lintian >/dev/null || fail "lintian is not installed; bash scripts/install-deps.sh test installs it"
# Its scratch files (/tmp/mldbm-elf-*, which it leaves behind) go with ours.
mkdir "$work/tmp"
TMPDIR="$work/tmp" lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian finds fault with the package: $(grep -E '^[EW]: ' "$work/lintian.log" || cat "$work/lintian.log")"

# The packed tool runs from the throwaway root and finds the packed music.
steps=$("$root/usr/games/vtrak-tool" sim --seed 1 --steps 40 --autoplay --trace - | tail -n +2 | wc -l)
[ "$steps" -eq 40 ] || fail "the packed vtrak-tool traced $steps steps of 40"
grep -q '^channels=2 rate=44100 bits=16 ' <<<"$("$root/usr/games/vtrak-tool" sound "$root/usr/lib/vtrak/bgm.wav")" ||
  fail "the packed bgm.wav does not load as 16-bit stereo at 44100 Hz"

# apt resolves the package's dependencies against this system's packages.
if command -v apt-get >/dev/null; then
  apt-get -s -q install "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get cannot install the package: $(grep -m 5 -E '^E:|Depends:' "$work/apt.log")"
  grep -q '^Inst vtrak ' "$work/apt.log" || fail "apt-get would not install vtrak: $(tail -n 3 "$work/apt.log")"
fi
echo "PASS"
