#!/usr/bin/env bash
# Builds the benchmarks in Release and runs the figures that the README's Performance table
# quotes: the interpreter, the highlighter, the toolpath builder, the plot's paint, opening a
# 1,000,000-line program in the window, process start to the plot drawn for 10^6 and 10^7 lines,
# Fit to View and a pick on 1,000,000 segments, a thumbnail by zorvit-render, the comparison
# with the npm gcode-parser, and the caret actions and playback's frame rate in the window on
# 1,000,000 lines.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVIT_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-bench"
bench="$root/build-bench/bench"
on_display() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }
aggregates=(--benchmark_repetitions=3 --benchmark_report_aggregates_only=true)

"$bench/gcode/bench_gcode" --benchmark_filter=1000000 "${aggregates[@]}"
"$bench/highlight/highlight_highlighter_bench" --benchmark_filter=1000000 "${aggregates[@]}"
on_display "$bench/plot/plot_paint_bench"
"$bench/plot/plot_fit_pick_bench" "${aggregates[@]}"
on_display "$bench/app/app_open_file"
"$root/bench/render/thumbnail.sh" "$root/build-bench/tools/zorvit-render"
"$root/bench/compare-peer.sh" 5
"$root/bench/start-to-drawn.sh"
"$root/bench/caret-actions.sh" "$root/build-bench/app/zorvit"
"$root/bench/playback-frames.sh" "$bench/app/app_playback_frames"
