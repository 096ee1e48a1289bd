#!/usr/bin/env bash
# CPU time of the whole program for the actions that move the caret in a large program, driven
# through the real window under Xvfb with xdotool: one Down arrow with Highlight Caret Move on
# and off, a click on a move in the plot, Go to Line 900000 and a Find Next that moves the caret
# to the next arc, some 800 lines on.
#
#   bench/caret-actions.sh [ZORVIT] [RUNS]
#
# ZORVIT is the program to measure (default: build/app/zorvit of this checkout), so that an
# older build can be measured the same way. The program is the raster one of
# `bench/gen-program.py --raster 1000000`, written to $TMPDIR once. Each action is measured from
# just before xdotool sends it until the program is idle again: the CPU time of all its threads,
# from the scheduler's counts in nanoseconds, less what the idle program spends meanwhile
# (measured over 3 s before each action; its blinking caret costs some 60 ms a second here). Prints each run and the
# medians in milliseconds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/measure.sh"
zorvit="${1:-$root/build/app/zorvit}"
runs="${2:-3}"

# The rest runs under an X server of its own.
on_own_display "$zorvit" "$runs"

program="$(raster_program caret)"
errors="${TMPDIR:-/tmp}/zorvit-caret-bench.err"  # what the program writes to stderr

# The CPU nanoseconds per second that the process spends while nothing is asked of it: the
# editor's blinking caret repaints the window twice a second.
idle_rate() {
  local pid="$1" start end from to
  start="$(cpu_ns "$pid")"
  from="$(now_ns)"
  sleep 3
  end="$(cpu_ns "$pid")"
  to="$(now_ns)"
  echo $(((end - start) * 1000000000 / (to - from)))
}

# Returns once a second passes in which the process used no more than its idle rate and 10 ms.
wait_idle() {
  local pid="$1" rate="$2" before after
  while true; do
    before="$(cpu_ns "$pid")"
    sleep 1
    after="$(cpu_ns "$pid")"
    [ $((after - before)) -le $((rate + 10000000)) ] && return
  done
}

# CPU milliseconds that the command's action costs the process: all it used from just before
# the command until it was idle again, less its idle rate over that time.
measure() {
  local pid="$1" rate start end from to cost
  shift
  rate="$(idle_rate "$pid")"
  from="$(now_ns)"
  start="$(cpu_ns "$pid")"
  "$@"
  wait_idle "$pid" "$rate"
  end="$(cpu_ns "$pid")"
  to="$(now_ns)"
  cost=$(((end - start - rate * (to - from) / 1000000000) / 1000000))
  echo $((cost < 0 ? 0 : cost))
}


# Starts the program on the raster file; highlight is 1 or 0 (View > Highlight Caret Move).
start() {
  config="$(mktemp -d)"
  mkdir -p "$config/Zorvit"
  printf '[View]\nHighlightCaretMove=%s\n' "$1" >"$config/Zorvit/Zorvit.ini"
  XDG_CONFIG_HOME="$config" "$zorvit" "$program" >/dev/null 2>>"$errors" &
  pid=$!
  until window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)" && [ -n "$window" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "caret-actions: the program ended at start, see $errors" >&2; exit 1; }
    sleep 0.2
  done
  xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1200 900
  # Without a window manager the window takes the keyboard only when told.
  xdotool windowfocus --sync "$window"
  wait_idle "$pid" 100000000
}

stop() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$config"
}

# In the editor (the window's narrow left column), on a line of the middle of the first screen.
editor_click() { xdotool mousemove --window "$window" 80 300 click 1; }
# The middle of the plot, after Fit to View has spread the raster over it.
plot_click() { xdotool mousemove --window "$window" 675 480 click 1; }
# Without a window manager a new dialog takes the keyboard only when told.
go_to_line() {
  local dialog=""
  xdotool key ctrl+g
  until [ -n "$dialog" ]; do
    sleep 0.1
    dialog="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" | tail -1 || true)"
  done
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 20 900000
  xdotool key Return
  xdotool windowfocus --sync "$window"
}

declare -A results
# ZORVIT_CARET_BENCH_SHOTS names a folder for a screenshot after each action.
record() {
  results[$1]+="$2 "
  printf ' %s %s ms' "$1" "$2"
  [ -z "${ZORVIT_CARET_BENCH_SHOTS:-}" ] || import -window root "$ZORVIT_CARET_BENCH_SHOTS/run-$run-$1.png"
}
for ((run = 1; run <= runs; run++)); do
  printf 'run %s:' "$run"
  start 1
  editor_click
  wait_idle "$pid" 100000000
  record down_on "$(measure "$pid" xdotool key Down)"
  plot_click
  xdotool key f
  wait_idle "$pid" 100000000
  record click "$(measure "$pid" plot_click)"
  editor_click
  wait_idle "$pid" 100000000
  record goto "$(measure "$pid" go_to_line)"
  xdotool key ctrl+f
  sleep 0.3
  xdotool type --delay 20 "G2 X"
  xdotool key Return
  wait_idle "$pid" 100000000
  record find "$(measure "$pid" xdotool key F3)"
  stop

  start 0
  editor_click
  wait_idle "$pid" 100000000
  record down_off "$(measure "$pid" xdotool key Down)"
  stop
  echo
done

for action in down_on down_off click goto find; do
  echo "$action: median $(printf '%s\n' ${results[$action]} | median) ms of CPU (runs: ${results[$action]})"
done
