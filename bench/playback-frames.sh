#!/usr/bin/env bash
# Frames per second and CPU time per frame of playback in the real window under Xvfb, driven
# with xdotool: the raster program of `bench/gen-program.py --raster 1000000` opened, View >
# Playback shown, played at 1000x for a few seconds, then the slider dragged from end to end.
#
#   bench/playback-frames.sh [APP_PLAYBACK_FRAMES] [RUNS]
#
# APP_PLAYBACK_FRAMES is bench/app/app_playback_frames of a build (default: build/ of this
# checkout); it is the main window counting the frames it shows. ZORVIT_BENCH_READING=machine
# plays the machine path instead of the transcription. The frames are the window's compositions
# through Mesa (the plot panel's frameSwapped); the CPU time is that of all the process's
# threads while the phase lasts, idle time included. Prints each run and the medians; the goal
# is at least 20 frames a second.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/measure.sh"
app="${1:-$root/build/bench/app/app_playback_frames}"
runs="${2:-3}"
reading="${ZORVIT_BENCH_READING:-transcription}"

# The rest runs under an X server of its own.
on_own_display "$app" "$runs"

program="$(raster_program frames)"
errors="${TMPDIR:-/tmp}/zorvit-frames-bench.err"  # what the program writes to stderr

frames() { sed -n 's/^frames=\([0-9]*\).*/\1/p' "$counts"; }

# Returns once a second passes in which the process used no more than 100 ms of CPU.
wait_idle() {
  local before after
  while true; do
    before="$(cpu_ns "$pid")"
    sleep 1
    after="$(cpu_ns "$pid")"
    [ $((after - before)) -le 100000000 ] && return
  done
}

# The places of the bar's controls in a window of 1200 x 900 pixels.
play_x=229 speed_x=329 controls_y=823 slider_y=862 slider_left=170 slider_right=928

start() {
  config="$(mktemp -d)"
  counts="$config/counts"
  mkdir -p "$config/Zorvit"
  [ "$reading" = machine ] && printf '[Reading]\nMachinePath=1\n' >"$config/Zorvit/Zorvit.ini"
  XDG_CONFIG_HOME="$config" XDG_STATE_HOME="$config" "$app" "$counts" "$program" >/dev/null 2>>"$errors" &
  pid=$!
  until window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)" && [ -n "$window" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "playback-frames: the program ended at start, see $errors" >&2; exit 1; }
    sleep 0.2
  done
  xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1200 900
  # Without a window manager the window takes the keyboard only when told.
  xdotool windowfocus --sync "$window"
  wait_idle
  xdotool key alt+v p  # View > Playback, which reads the program again
  wait_idle
  xdotool mousemove --window "$window" 1100 200 click 1 key f  # Fit to View
  xdotool mousemove --window "$window" "$speed_x" "$controls_y" click 1
  sleep 0.5
  xdotool key End Return  # the highest speed
  wait_idle
}

stop() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$config"
}

# Runs the command and prints "FRAMES SECONDS CPU_MS" for the time it took.
phase() {
  local frames0 cpu0 from
  frames0="$(frames)"
  cpu0="$(cpu_ns "$pid")"
  from="$(now_ns)"
  "$@"
  echo "$(($(frames) - frames0)) $(($(now_ns) - from)) $((($(cpu_ns "$pid") - cpu0) / 1000000))"
}

play() {
  xdotool mousemove --window "$window" "$play_x" "$controls_y" click 1
  sleep 8
  xdotool mousemove --window "$window" "$play_x" "$controls_y" click 1  # Pause
}

# The slider's handle dragged from its left end to its right end in 400 steps, 20 ms apart.
scrub() {
  local steps=400 moves=() i
  for ((i = 1; i <= steps; i++)); do
    moves+=(mousemove --window "$window" $((slider_left + (slider_right - slider_left) * i / steps)) "$slider_y" sleep 0.02)
  done
  xdotool "${moves[@]}" mouseup 1
}

declare -A results
report() {
  local name="$1" frames="$2" ns="$3" cpu="$4" fps per_frame
  fps="$(awk -v f="$frames" -v n="$ns" 'BEGIN { printf "%.1f", f / (n / 1e9) }')"
  per_frame="$(awk -v f="$frames" -v c="$cpu" 'BEGIN { printf "%.1f", (f > 0 ? c / f : 0) }')"
  results[${name}_fps]+="$fps "
  results[${name}_cpu]+="$per_frame "
  printf ' %s: %s frames in %.1f s, %s fps, %s ms CPU a frame;' "$name" "$frames" \
    "$(awk -v n="$ns" 'BEGIN { print n / 1e9 }')" "$fps" "$per_frame"
}

for ((run = 1; run <= runs; run++)); do
  printf 'run %s (%s):' "$run" "$reading"
  start
  report play $(phase play)
  wait_idle
  # The slider takes the keyboard from a click on it; Home puts its handle at the left end.
  xdotool mousemove --window "$window" "$slider_right" "$slider_y" click 1 key Home
  wait_idle
  xdotool mousemove --window "$window" "$slider_left" "$slider_y" mousedown 1
  report scrub $(phase scrub)
  [ -z "${ZORVIT_FRAMES_BENCH_SHOTS:-}" ] || import -window root "$ZORVIT_FRAMES_BENCH_SHOTS/run-$run.png"
  stop
  echo
done

for name in play scrub; do
  echo "$name: median $(printf '%s\n' ${results[${name}_fps]} | median) frames a second," \
    "$(printf '%s\n' ${results[${name}_cpu]} | median) ms of CPU a frame" \
    "(runs: ${results[${name}_fps]}fps; ${results[${name}_cpu]}ms)"
done
