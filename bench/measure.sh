# Helpers the benchmark scripts share; sourced, not run.

# Nanoseconds of CPU time used so far by every thread of process $1, from the scheduler's counts.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }

now_ns() { date +%s%N; }

# The median of the numbers on standard input, one per line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs the calling script again, with the arguments given, under an X server of its own, unless
# it already runs under one: ZORVIT_BENCH_DISPLAY marks the second run.
on_own_display() {
  [ -n "${ZORVIT_BENCH_DISPLAY:-}" ] && return 0
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env ZORVIT_BENCH_DISPLAY=1 "$0" "$@"
}

# The path of the 1,000,000-line raster program for the benchmark named, written once.
raster_program() {
  local file="${TMPDIR:-/tmp}/zorvit-$1-bench-raster-1000000.ngc"
  [ -s "$file" ] || python3 "$root/bench/gen-program.py" --raster 1000000 "$file" >&2
  echo "$file"
}
