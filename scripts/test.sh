#!/usr/bin/env bash
# Builds Zorvit with its tests and runs every test (widget and OpenGL tests under Xvfb).
#   scripts/test.sh              the normal build, in build-test/
#   scripts/test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

build=build-test
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DZORVIT_SANITIZE=ON -DZORVIT_BUILD_BENCH=OFF)
  # Mesa and the X libraries keep some allocations for the process's life.
  export ASAN_OPTIONS=detect_leaks=0
fi

# A compiler cache, where there is one, spares CI most of the rebuild.
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
