#!/usr/bin/env bash
# The thumbnail a file manager asks for: zorvit-render at 256 px on a generated 100,000-line
# program, with no display, run as a whole process (start-up, reading, interpreting, the
# offscreen context, building, fitting, painting and writing the PNG). Prints the median, the
# fastest and the slowest of RUNS runs, and fails when the median is over one second.
#   bench/render/thumbnail.sh ZORVIT_RENDER [RUNS]
set -euo pipefail
tool=$1 runs=${2:-11}
root="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/gen-program.py" 100000 "$work/program.ngc"
export XDG_CONFIG_HOME=$work/config

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  env -u DISPLAY -u WAYLAND_DISPLAY "$tool" "$work/program.ngc" -o "$work/thumbnail.png" --size 256
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$((runs / 2))]}
echo "zorvit-render, 256 px thumbnail of 100,000 lines ($(stat -c %s "$work/program.ngc") bytes):" \
     "median ${median} ms, fastest ${sorted[0]} ms, slowest ${sorted[$((runs - 1))]} ms ($runs runs)"
[ "$median" -le 1000 ] || { echo "over the 1 s target" >&2; exit 1; }
