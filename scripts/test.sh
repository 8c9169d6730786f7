#!/usr/bin/env bash
# Builds V-TRAK and runs every test: unit, integration and person-level
# (a real window on Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=ON -DVTRAK_BENCH=ON \
  >/dev/null
cmake --build "$root/build" -j2
cd "$root/build"
ctest -j2 --output-on-failure --timeout 600
