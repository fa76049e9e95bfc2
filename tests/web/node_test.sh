#!/usr/bin/env bash
# CTest entry: builds the WebAssembly program into WASM_DIR (incrementally)
# and runs every golden session through it under Node.js.
#   node_test.sh SOURCE_DIR WASM_DIR NATIVE_PROGRAM
set -u
src=$1
wasm=$2
native=$3
if ! log=$(bash "$src/web/build.sh" wasm "$wasm" 2>&1); then
  echo "$log"
  echo "the WebAssembly build failed"
  exit 1
fi
exec bash "$src/tests/web/node_sessions.sh" "$native" "$wasm/amostra.js" "$src/tests/transcripts"
