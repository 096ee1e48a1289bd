#!/usr/bin/env bash
# No leak over a day's work: 1000 cycles (or CYCLES) of open, refresh, edit and close of a
# 100,000-line program in the main window under Xvfb, and the growth of the process's resident
# memory from the 10th cycle to the last (the goal: under 5%). Builds the Release benchmark in
# build-bench/; ZORVIT_BENCH_BUILD names another build folder.
#
#   bench/leak-cycles.sh [CYCLES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZORVIT_BENCH_BUILD:-$root/build-bench}"
cycles="${1:-1000}"

[ -f "$build/build.ninja" ] ||
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVIT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target app_leak_cycles >/dev/null
log="$(mktemp)"
config="$(mktemp -d)"
XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1280x1024x24" \
  /usr/bin/time -f "cpu_seconds=%U+%S peak_KB=%M" "$build/bench/app/app_leak_cycles" "$cycles" \
  2>&1 | tee "$log"
growth="$(sed -n 's/.*growth_percent=\(-\?[0-9.]*\).*/\1/p' "$log")"
rm -rf "$log" "$config"
[ -n "$growth" ] || { echo "leak-cycles: no figure" >&2; exit 1; }
echo "$cycles cycles: resident memory grew by $growth% (goal: under 5%)"
