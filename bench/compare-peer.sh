#!/usr/bin/env bash
# Times Zorvit's interpreter against the npm package gcode-parser on the same generated
# programs of 10^5 and 10^6 lines, interleaved, and prints each median, the ratio and the peak
# memory of each process.
#   bench/compare-peer.sh [RUNS]     (default 5 runs per program and side)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/measure.sh"
runs="${1:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$root/scripts/deps.sh"
command -v npm >/dev/null || { echo "compare-peer: npm is needed (apt-get install npm)" >&2; exit 2; }

cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DZORVIT_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" --target zorvit-interpret-file >/dev/null
ours="$root/build-bench/bench/peer/zorvit-interpret-file"

(cd "$work" && npm init -y >/dev/null && npm install --silent --no-audit --no-fund gcode-parser >/dev/null)
cp "$root/bench/peer/parse.js" "$work/parse.js"

maximum() { sort -g | tail -n 1; }

printf '%-10s %12s %12s %8s %14s %14s %8s\n' lines "zorvit s" "peer s" ratio "zorvit MiB" "peer MiB" "memory"
for count in 100000 1000000; do
  program="$work/program-$count.ngc"
  python3 "$root/bench/gen-program.py" "$count" "$program"
  : >"$work/ours" ; : >"$work/peer"
  for _ in $(seq "$runs"); do
    "$ours" "$program" >>"$work/ours"
    node "$work/parse.js" "$program" >>"$work/peer"
  done
  our_time=$(cut -d' ' -f1 "$work/ours" | median)
  peer_time=$(cut -d' ' -f1 "$work/peer" | median)
  our_rss=$(cut -d' ' -f2 "$work/ours" | maximum)
  peer_rss=$(cut -d' ' -f2 "$work/peer" | maximum)
  awk -v n="$count" -v a="$our_time" -v b="$peer_time" -v ra="$our_rss" -v rb="$peer_rss" 'BEGIN {
    printf "%-10d %12.3f %12.3f %7.1fx %14.1f %14.1f %7.1fx\n", n, a, b, b / a, ra / 1024, rb / 1024, rb / ra }'
done
