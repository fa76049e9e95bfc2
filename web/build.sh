#!/usr/bin/env bash
# Builds the browser edition.
#   web/build.sh            the WebAssembly program and the page, in build-web/
#   web/build.sh wasm DIR   only the WebAssembly program (amostra.js and
#                           amostra.wasm), in the CMake build folder DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v em++ >/dev/null || ! command -v emcmake >/dev/null; then
  echo "em++ not found: install the Debian package emscripten" >&2
  exit 1
fi
# Debian's emscripten finds its own JavaScript modules through NODE_PATH.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

build_wasm() {
  mkdir -p "$1"
  emcmake cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF \
    -DAMOSTRA_STATIC=OFF > "$1/configure.log" 2>&1 || { cat "$1/configure.log"; exit 1; }
  cmake --build "$1" --target amostra -j2
}

if [ "${1:-}" = wasm ]; then
  build_wasm "$2"
  exit 0
fi

build_wasm "$root/build-wasm"
if [ ! -d web/node_modules/@xterm/xterm ]; then
  (cd web && npm ci --no-audit --no-fund)
fi
node web/assemble.mjs "$root/build-wasm" "$root/build-web" "$root/build-doc/html"
