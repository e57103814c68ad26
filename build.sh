#!/usr/bin/env bash
# The one entry point: installs what the build needs, configures, builds and runs.
#   ./build.sh            build into build/
#   ./build.sh run [FILE] start the editor
#   ./build.sh test       build and run every test headless (ctest)
#   ./build.sh library-test  build and run only the tests of the libraries below the shell
#   ./build.sh bench      build and run the benchmarks
# Environment: BUILD_DIR (default build), BUILD_TYPE (default RelWithDebInfo),
#              LUMARO_SANITIZE=1 for an ASan+UBSan build, LUMARO_NO_INSTALL=1 to skip apt-get.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)

BUILD_DIR=${BUILD_DIR:-build}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}

packages=(qt6-base-dev qt6-image-formats-plugins cmake ninja-build g++ clang libclang-rt-14-dev
  libsodium-dev
  breeze-icon-theme
  libqt6svg6
  pkg-config ccache zlib1g-dev libpng-dev libjpeg-dev libgif-dev libhunspell-dev hunspell-en-gb
  hunspell-en-us cups printer-driver-cups-pdf fonts-liberation fonts-liberation2 fonts-dejavu-core
  fonts-urw-base35 xvfb xauth x11-utils xdotool imagemagick poppler-utils qpdf libtiff-tools
  giflib-tools libreoffice-writer-nogui)

install_missing() {
  [ "${LUMARO_NO_INSTALL:-0}" = 1 ] && return 0
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "build.sh: installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Compiler cache shared between checkouts: paths are taken relative to the checkout, so a clean
# clone in another folder reuses what an earlier build compiled.
export CCACHE_BASEDIR="$top"
export CCACHE_NOHASHDIR=1
# Every target uses precompiled headers; without these the cache refuses each compile.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}

configure_and_build() {
  local extra=()
  [ "${LUMARO_SANITIZE:-0}" = 1 ] && extra+=(-DLUMARO_SANITIZE=ON)
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "${extra[@]}"
  fi
  cmake --build "$BUILD_DIR" "$@"
}

test_env() {
  export QT_QPA_PLATFORM=offscreen
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/lumaro-runtime-$(id -u)}
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"
}

cmd=${1:-build}
[ $# -gt 0 ] && shift
case "$cmd" in
  build) install_missing; configure_and_build ;;
  run) install_missing; configure_and_build --target lumaro; exec "$BUILD_DIR/lumaro" "$@" ;;
  test)
    install_missing; configure_and_build
    test_env
    cd "$BUILD_DIR" && ctest --output-on-failure --timeout 600 -j2 "$@" ;;
  library-test)
    install_missing; configure_and_build --target library_tests
    test_env
    cd "$BUILD_DIR" && ctest --output-on-failure --timeout 900 -j2 -L '^library$' "$@" ;;
  bench)
    install_missing; configure_and_build --target benchmarks
    test_env
    for b in "$BUILD_DIR"/bench/bench_*; do [ -x "$b" ] && "$b"; done ;;
  *) echo "usage: ./build.sh [build|run [FILE]|test|library-test|bench]" >&2; exit 2 ;;
esac
