#!/usr/bin/env bash
# Builds Zorvit and starts it on the named G-code file, or on the bundled example.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DZORVIT_BUILD_TESTS=OFF -DZORVIT_BUILD_BENCH=OFF
cmake --build "$root/build" --target zorvit -j 2
exec "$root/build/app/zorvit" "${1:-$root/examples/pocket.ngc}"
