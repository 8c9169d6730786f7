#!/usr/bin/env bash
# Builds V-TRAK for the browser from the same sources and serves the page:
#   bash scripts/web.sh               build, then serve it on http://127.0.0.1:8000/
#   bash scripts/web.sh --build-only  build only
# The page is the folder build-web/site/, static files that any web host can
# serve. Installs the Debian packages it needs that are missing first, and
# builds the libraries the page links from Debian's sources once (see
# scripts/web-deps.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
serve=true
case "${1:-}" in
  "") ;;
  --build-only) serve=false ;;
  *)
    echo "usage: bash scripts/web.sh [--build-only]" >&2
    exit 2
    ;;
esac
bash "$root/scripts/install-deps.sh" web
build="$root/build-web"
bash "$root/scripts/web-deps.sh" "$build"

# Debian's emcc finds its JavaScript helpers through NODE_PATH when the node
# on PATH is not Debian's, and cannot record that its set-up was checked.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}" EMCC_SKIP_SANITY_CHECK=1
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVTRAK_TESTS=OFF \
  -DVTRAK_BENCH=OFF -DVTRAK_WERROR="${VTRAK_WERROR:-OFF}" -DVTRAK_WEB_DEPS="$build/deps" >/dev/null
cmake --build "$build" -j2
$serve || exit 0

echo "vtrak: V-TRAK is served on this machine only; open the address below, Ctrl-C stops it."
exec /usr/bin/python3 "$root/web/serve.py" "$build/site" 8000
