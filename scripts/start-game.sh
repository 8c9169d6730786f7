#!/usr/bin/env bash
# Starts the built game with the given arguments. Where it cannot open a
# window (no display, or one out of reach), writes a short autoplayed demo as
# PNG frames instead and says where they are. The usage and the version come
# from the game, display or not.
# Usage: bash scripts/start-game.sh BIN_FOLDER DEMO_FOLDER [GAME ARGUMENTS...]
set -euo pipefail
bin="$1"
demo="$2"
shift 2

# Asked for the usage or the version, the game answers without a window.
for argument in "$@"; do
  case "$argument" in -h | --help | -V | --version) exec "$bin/vtrak" "$@" ;; esac
done
# vtrak-tool asks for a window as the game does, without its lock.
if "$bin/vtrak-tool" display >/dev/null 2>&1; then
  exec "$bin/vtrak" "$@"
fi
rm -rf "$demo"
echo "vtrak: no window can be opened here (no display, or one out of reach), so instead here is an autoplayed demo as PNG frames."
"$bin/vtrak-tool" sim --autoplay --steps 600 --png "$demo" --png-every 10
echo "vtrak: $(ls "$demo" | wc -l) frames written to $demo (frame-000010.png ... frame-000600.png)"
