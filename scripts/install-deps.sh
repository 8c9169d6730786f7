#!/usr/bin/env bash
# Installs the Debian 12 packages that building, playing and testing V-TRAK need.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config clang libclang-rt-14-dev clang-format
  # the game's libraries
  libsdl2-dev libopenal-dev libvorbis-dev libfreetype-dev libfontconfig-dev libglm-dev
  libpng-dev zlib1g-dev fonts-ipafont-gothic
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # person-level tests: a real window on a virtual display
  xvfb openbox xdotool x11-utils imagemagick bc
  # the message box tests: OCR with Japanese, an X server with a made Latin-only core font
  # (otf2bdf, bdftopcf and mkfontdir), and a Wayland compositor to nest in Xvfb
  tesseract-ocr tesseract-ocr-jpn otf2bdf xfonts-utils weston
  # packaging checks
  desktop-file-utils appstream dpkg-dev file man-db
)

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
