#!/usr/bin/env bash
# The program on other systems: cross builds, packages and their tests.
#
#   platforms.sh build              build-aarch64 (qemu), build-windows (Wine),
#                                   build-libcxx (clang++ with libc++)
#   platforms.sh package NATIVE     Debian packages (amd64 from the NATIVE
#                                   build folder, arm64) and the Windows zip,
#                                   copied to dist/
#   platforms.sh test NATIVE        every golden session on every build, the
#                                   hostile inputs on the aarch64 and Windows
#                                   builds, and the packages' contents
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
here=$root/tests/platforms
transcripts=$root/tests/transcripts

configure_and_build() {
  local dir=$1
  shift
  cmake --no-warn-unused-cli -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@" > /dev/null
  nice cmake --build "$dir" -j2
}

build() {
  configure_and_build build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
  configure_and_build build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake
  CXX=clang++ configure_and_build build-libcxx -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS=-stdlib=libc++ -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++
}

package() {
  local native=$1
  for dir in "$native" build-aarch64 build-windows; do
    (cd "$dir" && cpack > /dev/null)
  done
  rm -rf dist
  mkdir -p dist
  cp "$native"/amostra_*_amd64.deb build-aarch64/amostra_*_arm64.deb \
     build-windows/amostra-*-windows-x86_64.zip dist/
  ls -l dist
}

# Wine: one prefix in the build folder, created once, and one persistent
# server for the whole batch (without it, about one run in a hundred ended
# with status 1 and no output).
start_wine() {
  export WINEPREFIX=$root/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    local t=$SECONDS
    wineboot -i > /dev/null 2>&1
    wineserver -w
    echo "Wine prefix created in $((SECONDS - t)) s"
  fi
  wineserver -p 2> /dev/null || true  # already running for this prefix: keep it
  trap 'wineserver -k 2> /dev/null || true' EXIT
}

test_all() {
  local native=$1 failed=0 t
  start_wine
  local wine_retries=$root/build-windows/wine-retries.log
  rm -f "$wine_retries"
  t=$SECONDS
  bash "$here/run_goldens.sh" native "$transcripts" "$native/amostra" || failed=1
  bash "$here/run_goldens.sh" aarch64 "$transcripts" qemu-aarch64 build-aarch64/amostra || failed=1
  PLATFORM_RETRY_LOG=$wine_retries bash "$here/run_goldens.sh" windows "$transcripts" wine build-windows/amostra.exe || failed=1
  bash "$here/run_goldens.sh" libcxx "$transcripts" build-libcxx/amostra || failed=1
  echo "golden sessions: $((SECONDS - t)) s"
  t=$SECONDS
  bash "$here/hostile.sh" aarch64 "$native/amostra" "$transcripts" qemu-aarch64 build-aarch64/amostra || failed=1
  echo "hostile inputs, aarch64: $((SECONDS - t)) s"
  t=$SECONDS
  PLATFORM_RETRY_LOG=$wine_retries bash "$here/hostile.sh" windows "$native/amostra" "$transcripts" wine build-windows/amostra.exe || failed=1
  echo "hostile inputs, windows: $((SECONDS - t)) s"
  echo "Wine runs that failed to start (status 1, no output) and were repeated: $(cat "$wine_retries" 2> /dev/null | wc -l)"
  cat "$wine_retries" 2> /dev/null || true
  t=$SECONDS
  bash "$here/packages.sh" dist "$transcripts" || failed=1
  echo "packages: $((SECONDS - t)) s"
  if [ "$failed" -ne 0 ]; then
    echo "test-platforms: FAILED"
    return 1
  fi
  echo "test-platforms: all passed"
}

case ${1:-} in
  build) build ;;
  package) package "${2:-build}" ;;
  test) test_all "${2:-build}" ;;
  *) echo "usage: $0 build | package NATIVE | test NATIVE" >&2; exit 64 ;;
esac
