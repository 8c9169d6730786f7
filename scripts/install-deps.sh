#!/usr/bin/env bash
# Installs the Debian packages that V-TRAK needs, and only those that are
# missing, on Debian 12 (bookworm) and 13 (trixie); every name below is one
# both releases offer (clang-format-19: the one version both have, so that the
# format check gives one verdict):
#   bash scripts/install-deps.sh        what building and playing need (the default)
#   bash scripts/install-deps.sh web    that, and what the browser build adds
#   bash scripts/install-deps.sh test   all of these, and what the tests add
# When every package is installed already it asks dpkg and nothing else: no
# sudo, no apt-get, no network. Otherwise it names the missing packages and
# what apt-get would download, then runs apt-get (through sudo when not root)
# with its progress shown.
set -euo pipefail

play_packages=(
  # compilers and the build
  build-essential cmake pkg-config
  # the game's libraries and its font
  libsdl2-dev libopenal-dev libvorbis-dev libfreetype-dev libfontconfig-dev libglm-dev
  libpng-dev zlib1g-dev fonts-ipafont-gothic
  # `cpack -G DEB` (dpkg-shlibdeps, file)
  dpkg-dev file
)
web_packages=(
  # the compiler, the face's cutter, and apt-get source's unpacker (dpkg-dev, above)
  emscripten fonttools python3
)
test_packages=(
  # the browser tests in three engines: Chromium through its driver, Firefox over
  # WebDriver BiDi (a socket, no driver), WebKitGTK's MiniBrowser through its driver
  chromium chromium-driver python3-selenium firefox-esr python3-websocket webkit2gtk-driver
  # the fuzz build and the code format
  clang libclang-rt-dev clang-format-19
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the key latency benchmark hears key presses through XInput 2
  libxi-dev
  # person-level tests: a real window on a virtual display
  xvfb openbox xdotool x11-utils imagemagick bc
  # the message box tests: OCR with Japanese, an X server with a made Latin-only core font
  # (otf2bdf, bdftopcf and mkfontdir), and a Wayland compositor to nest in Xvfb
  tesseract-ocr tesseract-ocr-jpn otf2bdf xfonts-utils weston
  # packaging checks
  desktop-file-utils appstream man-db lintian
)

case "${1:-play}" in
  play)
    purpose="building and playing V-TRAK"
    wanted=("${play_packages[@]}")
    ;;
  web)
    purpose="building V-TRAK for the browser"
    wanted=("${play_packages[@]}" "${web_packages[@]}")
    ;;
  test)
    purpose="building and testing V-TRAK"
    wanted=("${play_packages[@]}" "${web_packages[@]}" "${test_packages[@]}")
    ;;
  *)
    echo "usage: bash scripts/install-deps.sh [play|web|test]" >&2
    exit 2
    ;;
esac

# dpkg-query names only the packages it knows; any other is missing too.
installed=$(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${wanted[@]}" 2>/dev/null |
  awk '$1 == "installed" {print $2}' || true)
missing=()
for package in "${wanted[@]}"; do
  grep -qxF "$package" <<<"$installed" || missing+=("$package")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

# What apt-get would fetch for them, from the package lists at hand: "N
# packages, about M MB", or nothing when the lists do not know them yet.
download_size() {
  apt-get install -qq --print-uris --no-install-recommends "${missing[@]}" 2>/dev/null |
    awk -F"'" 'NF >= 3 {split($3, f, " "); n++; bytes += f[2]}
      END {if (n > 0) printf "%d package%s, about %d MB", n, (n > 1 ? "s" : ""), (bytes + 500000) / 1000000}' ||
    true
}
say_size() {
  if [ -n "$1" ]; then
    echo "vtrak: apt-get will download $1 (the missing packages and what they need), then install them."
  else
    echo "vtrak: apt-get will download and install them."
  fi
}

echo "vtrak: Debian packages missing for $purpose: ${missing[*]}"
size=$(download_size)
[ -n "$size" ] && say_size "$size"

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "vtrak: installing them needs root and there is no sudo here; as root run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
# A failed apt-get names the packages this release's lists do not offer, or
# else the network and the rights.
give_up() {
  local unknown=() package policy
  for package in "${missing[@]}"; do
    policy=$(apt-cache policy "$package" 2>/dev/null || true)
    [[ "$policy" == *"Candidate: "[!\(]* ]] || unknown+=("$package")
  done
  if [ "${#unknown[@]}" -gt 0 ]; then
    echo "vtrak: $(. /etc/os-release && echo "$PRETTY_NAME") offers no package ${unknown[*]}; its name differs on this release, or it is not in the sources apt uses (/etc/apt/sources.list*)" >&2
  else
    echo "vtrak: could not install ${missing[*]}; check the network and your sudo rights, or as root run: apt-get install ${missing[*]}" >&2
  fi
  exit 1
}
apt_get=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
"${apt_get[@]}" update || give_up
if [ -z "$size" ]; then
  size=$(download_size)
  say_size "$size"
fi
"${apt_get[@]}" install -y --no-install-recommends "${missing[@]}" || give_up
