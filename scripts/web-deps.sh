#!/usr/bin/env bash
# Builds the libraries the browser build links, SDL2, libogg, libvorbis and
# FreeType, from Debian's own source packages of the versions the Linux build
# links, with Emscripten, once:
#   bash scripts/web-deps.sh BUILD_FOLDER
# The sources come through apt-get source with a private apt state in
# BUILD_FOLDER/apt (deb-src entries made from the system's own Debian deb
# entries): the system's apt configuration is not touched and no root is
# needed. The built libraries go into the user's cache folder, keyed by the
# versions, the compiler and the recipe (the functions build_one and
# build_libraries, as bash prints them: comments and the rest of this script
# do not count), so that every clone reuses them; BUILD_FOLDER/deps links to
# them. One build of a key runs at a time; another waits for it.
set -euo pipefail
build="$(mkdir -p "$1" && cd "$1" && pwd)"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
# Debian's emcc cannot record that its set-up was checked and would check it
# on every call, seconds each time.
export EMCC_SKIP_SANITY_CHECK=1
say() { echo "vtrak web: $*"; }
fail() {
  echo "vtrak web: $*" >&2
  exit 1
}

# The source package and version behind each Linux library.
sources=()
for package in libsdl2-dev libogg-dev libvorbis-dev libfreetype-dev; do
  line=$(dpkg-query -W -f='${db:Status-Status} ${source:Package}=${source:Version}\n' "$package" 2>/dev/null) ||
    true
  [[ "$line" == installed\ * ]] || fail "$package is not installed; run: bash scripts/install-deps.sh"
  sources+=("${line#installed }")
done
# Read whole: `| head -1` would close the pipe on emcc, which then dies of it.
emcc_version=$(emcc --version) || fail "emcc --version failed; run: bash scripts/install-deps.sh web"
emcc_version=${emcc_version%%$'\n'*}

# The recipe: what makes the libraries from their unpacked sources in $src
# into $prefix. Any change here is a new cache key.
build_one() {
  local name=$1
  shift
  local folder
  folder=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$name-*")
  folder=${folder%%$'\n'*}
  [ -n "$folder" ] || fail "the source of $name was not unpacked"
  say "building $(basename "$folder")"
  emcmake cmake -S "$folder" -B "$build/deps-build/$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_TESTING=OFF "$@" >"$build/deps-build-$name.log" 2>&1 &&
    cmake --build "$build/deps-build/$name" -j2 >>"$build/deps-build-$name.log" 2>&1 &&
    cmake --install "$build/deps-build/$name" >>"$build/deps-build-$name.log" 2>&1 ||
    fail "building $name failed; see $build/deps-build-$name.log"
}
build_libraries() {
  # Emscripten's CMake cannot read type sizes from its object files; these are
  # wasm32's, for the libraries that ask.
  local sizes=(-DINT16_SIZE=2 -DUINT16_SIZE=2 -DU_INT16_SIZE=2 -DINT32_SIZE=4 -DUINT32_SIZE=4
    -DU_INT32_SIZE=4 -DINT64_SIZE=8 -DSHORT_SIZE=2 -DINT_SIZE=4 -DLONG_SIZE=4 -DLONG_LONG_SIZE=8
    -DHAVE_INT16_SIZE=1 -DHAVE_UINT16_SIZE=1 -DHAVE_U_INT16_SIZE=1 -DHAVE_INT32_SIZE=1
    -DHAVE_UINT32_SIZE=1 -DHAVE_U_INT32_SIZE=1 -DHAVE_INT64_SIZE=1 -DHAVE_SHORT_SIZE=1
    -DHAVE_INT_SIZE=1 -DHAVE_LONG_SIZE=1 -DHAVE_LONG_LONG_SIZE=1)
  build_one libogg "${sizes[@]}" -DINSTALL_DOCS=OFF
  build_one libvorbis "${sizes[@]}" -DOGG_ROOT="$prefix"
  build_one freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  build_one libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}

key=$( (printf '%s\n' "${sources[@]}" "$emcc_version" && declare -f build_one build_libraries) |
  sha256sum | cut -c1-16)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/vtrak/web-deps/$key"
if [ -f "$cache/complete" ]; then
  ln -sfn "$cache" "$build/deps"
  exit 0
fi
# Two builds of one key would share $cache.partial: the second waits, and then
# finds the first one's libraries.
mkdir -p "$(dirname "$cache")"
exec 9>"$cache.lock"
if ! flock -n 9; then
  say "another build of these libraries is running; waiting for it"
  flock 9
fi
if [ -f "$cache/complete" ]; then
  ln -sfn "$cache" "$build/deps"
  exit 0
fi

say "building ${sources[*]} for the browser, once (a few minutes; kept in $cache)"
started=$(date +%s)

# A private apt state whose only entries are deb-src twins of the system's
# Debian entries (one-line and deb822 files alike).
apt="$build/apt"
rm -rf "$apt"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
: >"$apt/sources.list"
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$file" ] || continue
  grep -E '^[[:space:]]*deb[[:space:]].*debian' "$file" |
    sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' >>"$apt/sources.list" || true
done
for file in /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] || continue
  grep -qE '^URIs:.*debian' "$file" || continue
  sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$apt/sources.list.d/$(basename "$file")"
done
sandbox_user=$(id -un)
[ "$(id -u)" -eq 0 ] && sandbox_user=root
apt_options=(-o "Dir::State=$apt" -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
  -o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
  -o Debug::NoLocking=1 -o "APT::Sandbox::User=$sandbox_user")
apt-get "${apt_options[@]}" -qq update 2>"$build/apt-update.log" ||
  fail "could not read Debian's source package lists: $(grep -m 3 -E '^(E|W|Err):' "$build/apt-update.log" | tr '\n' ' ')"

src="$build/deps-src"
rm -rf "$src"
mkdir -p "$src"
# Fetches source $1 (package=version) into $src. When the archive no longer
# has that version, the closest it has of the same upstream version (the
# nearest older one, else the nearest newer one) is taken, and said.
fetch_source() {
  local package=${1%%=*} version=${1#*=}
  (cd "$src" && apt-get "${apt_options[@]}" -qq source --only-source "$1" >/dev/null 2>"$build/apt-source.log") &&
    built+=("$1") && return 0
  local upstream=${version#*:}
  upstream=${upstream%-*}
  local offered candidate older=() newer=()
  offered=$(apt-cache "${apt_options[@]}" showsrc --only-source "$package" 2>/dev/null |
    sed -n 's/^Version: //p' | sort -u) || true
  for candidate in $offered; do
    local bare=${candidate#*:}
    [ "${bare%-*}" = "$upstream" ] || continue
    if dpkg --compare-versions "$candidate" lt "$version"; then older+=("$candidate"); else newer+=("$candidate"); fi
  done
  local ordered
  ordered=$( (printf '%s\n' "${older[@]}" | sort -r -V && printf '%s\n' "${newer[@]}" | sort -V) | grep . || true)
  for candidate in $ordered; do
    if (cd "$src" && apt-get "${apt_options[@]}" -qq source --only-source "$package=$candidate" >/dev/null 2>>"$build/apt-source.log"); then
      say "the archive has no source $package $version now; building $candidate, the closest of upstream version $upstream"
      built+=("$package=$candidate")
      return 0
    fi
  done
  if [ -z "$ordered" ]; then
    fail "the archive offers no source of $package $upstream (the installed $version; it has: $(echo $offered))"
  fi
  fail "could not fetch the source of $package $version: $(grep -m 3 -E '^(E|W|Err):' "$build/apt-source.log" | tr '\n' ' ')"
}
built=()
for source in "${sources[@]}"; do fetch_source "$source"; done

prefix="$cache.partial"
rm -rf "$prefix"
mkdir -p "$prefix"
trap 'rm -rf "$prefix"' EXIT  # a build that fails leaves nothing half made in the cache
build_libraries
printf '%s\n' "${built[@]}" "$emcc_version" >"$prefix/versions"
touch "$prefix/complete"
rm -rf "$cache"
mv "$prefix" "$cache"
trap - EXIT
ln -sfn "$cache" "$build/deps"
rm -rf "$build/deps-build" "$src"
say "the libraries are built ($(($(date +%s) - started)) s)"
