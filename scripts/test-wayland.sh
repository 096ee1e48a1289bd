#!/usr/bin/env bash
# Runs the window tests that differ between window systems with Zorvit as a native Wayland
# client (QT_QPA_PLATFORM=wayland) under a headless Weston: the window's decorations, the
# document's questions (the reload question from the watcher, the recovery question) and the file
# dialogs. A headless Weston has no seat, so no window is ever activated or given the keyboard:
# the tests of focus, wheel routing and drags need a desktop session and run under Xvfb only.
#   scripts/test-wayland.sh [BUILD]   the build folder (default build-test, as scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

build=${1:-build-test}
tests=(app_Wayland_guitest app_PlotterDocument_guitest app_Recovery_guitest
       app_UserDialogsStart_guitest)

options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --target "${tests[@]}"

# Weston wants a private runtime folder; its socket goes there.
runtime=$(mktemp -d)
chmod 0700 "$runtime"
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-gl \
  --socket=zorvit-test --width=1280 --height=1024 --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$runtime/zorvit-test" ] && break
  sleep 0.1
done
[ -S "$runtime/zorvit-test" ] || { cat "$runtime/weston.log"; echo "Weston did not start" >&2; exit 1; }

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=zorvit-test QT_QPA_PLATFORM=wayland
# Qt's Wayland input method follows the seat's keyboard, and without a seat it crashes on the
# first key sent to a line edit.
export QT_IM_MODULE=none
unset DISPLAY
ctest --test-dir "$build" --output-on-failure -R "^($(IFS='|'; echo "${tests[*]}"))\$"
