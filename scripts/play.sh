#!/usr/bin/env bash
# Builds V-TRAK and starts it. Without a display it writes a short autoplayed
# demo as PNG frames instead and says where they are.
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

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
  exec "$root/build/bin/vtrak" "$@"
fi
demo="$root/build/demo"
rm -rf "$demo"
echo "vtrak: no display found, so instead of a window here is an autoplayed demo as PNG frames."
"$root/build/bin/vtrak-tool" sim --autoplay --steps 600 --png "$demo" --png-every 10
echo "vtrak: $(ls "$demo" | wc -l) frames written to $demo (frame-000010.png ... frame-000600.png)"
