#!/usr/bin/env bash
# Process start to the plot drawn, and the peak resident memory of the whole process, for a
# generated program of 1,000,000 and of 10,000,000 lines opened from the command line: the two
# rows of the README's Performance table. Builds the Release benchmarks in build-bench/ and
# writes the programs there (bench/gen-program.py; 450 MB for the larger one); ZORVIT_BENCH_BUILD
# names another build folder.
#
#   bench/start-to-drawn.sh [RUNS] [LINES...]      (defaults: 3 runs of 1000000 and 10000000)
#
# ZORVIT_BENCH_STYLE picks the program: "raster" (the default, and the one behind the README's
# rows) is the short zig-zag moves of surfacing and engraving CAM output; "random" is moves to
# random points over 100 x 100 units, each a long line across the plot, where Mesa's software
# rasteriser takes most of the time.
#
# Each run is a fresh process under its own Xvfb; the time counts from just before the process
# is launched. Prints every run and the medians of each size: wall time, peak memory, and the
# CPU time of all the process's threads (user + system, up to its exit just after the plot is
# drawn), which says more than the wall time on a busy machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/measure.sh"
build="${ZORVIT_BENCH_BUILD:-$root/build-bench}"
runs="${1:-3}"
shift || true
sizes=("$@")
style="${ZORVIT_BENCH_STYLE:-raster}"
case "$style" in
  raster) style_option=(--raster) ;;
  random) style_option=() ;;
  *) echo "start-to-drawn: ZORVIT_BENCH_STYLE is raster or random, not $style" >&2; exit 2 ;;
esac
[ ${#sizes[@]} -eq 0 ] && sizes=(1000000 10000000)

"$root/scripts/deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVIT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target app_start_to_drawn
program="$build/bench/app/app_start_to_drawn"
mkdir -p "$build/programs"


for lines in "${sizes[@]}"; do
  file="$build/programs/cam-$style-$lines.ngc"
  [ -s "$file" ] || python3 "$root/bench/gen-program.py" "${style_option[@]}" "$lines" "$file"
  times=()
  peaks=()
  cpus=()
  for ((run = 1; run <= runs; run++)); do
    log="$(mktemp)"
    # The X server is up before the clock starts; XDG_CONFIG_HOME keeps the user's settings out.
    config="$(mktemp -d)"
    XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \
      'ZORVIT_START_NS=$(date +%s%N) exec /usr/bin/time -v "$0" "$1"' "$program" "$file" >"$log" 2>&1
    drawn="$(sed -n 's/^drawn_ms=\([0-9]*\).*/\1/p' "$log")"
    peak_kb="$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")"
    user="$(sed -n 's/.*User time (seconds): //p' "$log")"
    system="$(sed -n 's/.*System time (seconds): //p' "$log")"
    cpu="$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')"
    [ -n "$drawn" ] || { cat "$log" >&2; exit 1; }
    echo "$lines $style lines, run $run: drawn after $drawn ms, peak $((peak_kb / 1024)) MiB, CPU $cpu s ($(grep '^drawn_ms' "$log"))"
    times+=("$drawn")
    cpus+=("$cpu")
    peaks+=("$((peak_kb / 1024))")
    rm -rf "$log" "$config"
  done
  echo "$lines $style lines ($(du -m "$file" | cut -f1) MB): median start to drawn $(printf '%s\n' "${times[@]}" | median) ms," \
       "median peak $(printf '%s\n' "${peaks[@]}" | median) MiB, median CPU time $(printf '%s\n' "${cpus[@]}" | median) s"
done
