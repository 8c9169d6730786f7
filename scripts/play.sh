#!/usr/bin/env bash
# Builds V-TRAK and starts it. Where no window can be opened it writes a short
# autoplayed demo as PNG frames instead and says where they are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh" play
# The same build folder and type as the test command, so neither rebuilds the
# other's work. A first configure leaves the tests out, whose packages playing
# does not install; a folder the test command made keeps its settings.
if [ ! -f "$root/build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRAK_TESTS=OFF \
    -DVTRAK_BENCH=OFF >/dev/null
fi
cmake --build "$root/build" -j2 --target vtrak vtrak-tool vtrak-bgm

exec bash "$root/scripts/start-game.sh" "$root/build/bin" "$root/build/demo" "$@"
