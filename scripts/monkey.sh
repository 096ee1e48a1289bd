#!/usr/bin/env bash
# Drives the real Zorvit window under Xvfb with random input for SECONDS: keys and text, clicks,
# drags and the wheel over both panes, every menu command by the keyboard, dialogs answered at
# random, programs opened from a small set (the bundled examples and /work/shared/corpus when it
# is there) and changed on disk behind the window's back. The window is built with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-monkey/ (ZORVIT_MONKEY_BUILD names
# another folder).
#
#   scripts/monkey.sh SECONDS [SEED]
#
# Fails (exit 1, keeping its folder for a look) on a crash, a sanitizer report, a hang (the
# window's heartbeat file, written each second by its event loop, older than 10 s), or a program
# on disk that changed without the script changing it. The programs and their folder are read
# only, so no Save can change them: a Save, whatever its way (a key, a menu, a question answered
# Yes), fails with the window's error box, and any change on disk is a fault. Run by root, the
# window runs as nobody, for whom read only holds. Exit 0 when clean.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: scripts/monkey.sh SECONDS [SEED]}"
seed="${2:-$$}"
RANDOM=$seed
build="${ZORVIT_MONKEY_BUILD:-$root/build-monkey}"
hang_seconds=10
actions=0
starts=0

if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVIT_SANITIZE=ON \
    -DZORVIT_BUILD_TESTS=OFF -DZORVIT_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null || exit 2
fi
cmake --build "$build" --target zorvit -j2 >/dev/null || { echo "monkey: build failed" >&2; exit 2; }
app="$build/app/zorvit"

work="$(mktemp -d "${TMPDIR:-/tmp}/zorvit-monkey.XXXXXX")"
files="$work/files"
mkdir -p "$files" "$work/home" "$work/logs"
cp "$root"/examples/*.ngc "$files/"
[ -d /work/shared/corpus ] && find /work/shared/corpus -maxdepth 1 -type f \
  \( -name '*.ngc' -o -name '*.nc' -o -name '*.gcode' \) -exec cp {} "$files/" \;
python3 "$root/bench/gen-program.py" --raster 5000 "$files/raster.ngc"
chmod a-w "$files"/* && chmod a-w "$files"
# Root may write any file: then the window runs as nobody, in folders nobody may use.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chmod 755 "$work"
  chown nobody:nogroup "$work/home" "$work/logs"
fi
programs=("$files"/*)
declare -A sums
for f in "${programs[@]}"; do sums[$f]="$(sha256sum <"$f")"; done

fail() {
  echo "monkey: FAILED after ${SECONDS}s and $actions actions (seed $seed): $*" >&2
  echo "monkey: the window's output, the sanitizer logs and the programs are in $work" >&2
  cleanup
  exit 1
}
app_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$files"
}

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_STATE_HOME="$work/home/.state" XDG_DATA_HOME="$work/home/.data" \
  XDG_CACHE_HOME="$work/home/.cache" ZORVIT_HEARTBEAT="$work/logs/heartbeat"
# Mesa and the X libraries keep some allocations for the process's life: no leak report.
export ASAN_OPTIONS="detect_leaks=0:log_path=$work/logs/asan"
export UBSAN_OPTIONS="print_stacktrace=1:log_path=$work/logs/ubsan"

random_program() { echo "${programs[RANDOM % ${#programs[@]}]}"; }
pick() { local -n list=$1; echo "${list[RANDOM % ${#list[@]}]}"; }

main=""
start_app() {
  rm -f "$work/logs/heartbeat"
  "${run_as[@]}" "$app" "$(random_program)" >>"$work/window.out" 2>&1 &
  app_pid=$!
  main=""
  for _ in $(seq 600); do
    main="$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)"
    [ -n "$main" ] && [ -f "$work/logs/heartbeat" ] && break
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$main" ] || fail "the window did not show"
  starts=$((starts + 1))
}

# The window ended: by File > Exit (status 0, started again) or by a fault.
check_alive() {
  kill -0 "$app_pid" 2>/dev/null && return
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the window ended with status $status"
  start_app
}

check_sanitizers() {
  if compgen -G "$work/logs/asan*" >/dev/null || compgen -G "$work/logs/ubsan*" >/dev/null ||
    grep -q "runtime error:\|AddressSanitizer" "$work/window.out" 2>/dev/null; then
    fail "a sanitizer report"
  fi
}

check_heartbeat() {
  local age=$(($(date +%s) - $(stat -c %Y "$work/logs/heartbeat" 2>/dev/null || echo 0)))
  [ "$age" -le "$hang_seconds" ] || fail "a hang: no event processed for ${age}s"
}

check_files() {
  for f in "${programs[@]}"; do
    [ "$(sha256sum <"$f")" = "${sums[$f]}" ] || fail "$f changed on disk without a Save"
  done
}

# Window geometry, for pointer input over both panes.
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$main" 2>/dev/null)" || true
  gx=${X:-0} gy=${Y:-0} gw=${WIDTH:-800} gh=${HEIGHT:-600}
}
random_point() { px=$((gx + RANDOM % gw)); py=$((gy + RANDOM % gh)); }

texts=("G1 X10 Y-5.5 F300" "G0 Z5" "G2 X0 Y10 I5 J5" "G3 X1 Y1 R2" "o100 while [#1 LT 5]"
  "#1=[#1+1]" "o100 endwhile" "(comment" "; note" "M30" "%" "N10 G90 G21" "G83 X1 Y1 Z-3 R1 Q1"
  "X1e308" "G1 X[1/0]" "T1 M6" "G20" "#<a>=3" "o<sub> call" "G10 L2 P1 X5" "(MSG,hi)" "é€"
  "          " "G1 X.5" "999999999999999999999")
keys=(Return BackSpace Delete Up Down Left Right Home End Prior Next Tab shift+Tab
  ctrl+z ctrl+y ctrl+shift+z ctrl+a ctrl+c ctrl+v ctrl+x ctrl+f F3 shift+F3 ctrl+h ctrl+g
  ctrl+o ctrl+Home ctrl+End shift+Down shift+End f 1 2 3 4 Escape space Insert F1 F10
  ctrl+plus ctrl+minus alt+F4)
answers=(Return Escape space Tab alt+y alt+n alt+c Escape Escape)
menus=(f e d p v h)

# Changes the open program (the one the window's title names, else any) on disk.
outside_change() {
  local title f
  title="$(xdotool getwindowname "$main" 2>/dev/null)"
  f="$(random_program)"
  for p in "${programs[@]}"; do [[ "$title" == *"$(basename "$p")"* ]] && f="$p"; done
  chmod u+w "$f"
  case $((RANDOM % 4)) in
    0) echo "G1 X$RANDOM Y$RANDOM" >>"$f" ;;
    1) cat "$(random_program)" >"$f" ;;
    2) : >"$f" ;;
    3) head -c $((RANDOM % 2000)) /dev/urandom >"$f" ;;
  esac
  chmod a-w "$f"
  sums[$f]="$(sha256sum <"$f")"
}

act() {
  local r=$((RANDOM % 100)) focus ours others
  # With no window manager the keyboard goes where the program or the script puts it: to one
  # of the program's windows, a dialog first, when it is elsewhere.
  focus="$(xdotool getwindowfocus 2>/dev/null)"
  ours="$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null)"
  others="$(grep -vx "$main" <<<"$ours")"
  if ! grep -qx "${focus:-none}" <<<"$ours"; then
    if [ -n "$others" ]; then
      xdotool windowfocus "$(tail -n1 <<<"$others")" 2>/dev/null
    else
      xdotool windowfocus "$main" 2>/dev/null
    fi
    focus="$(xdotool getwindowfocus 2>/dev/null)"
  fi
  # A dialog has the keyboard: answer it now and then, or go on at random.
  if [ -n "$focus" ] && [ "$focus" != "$main" ] && [ $((RANDOM % 3)) -eq 0 ]; then
    if [ $((RANDOM % 4)) -eq 0 ]; then
      # The Open dialog's name field takes a path.
      xdotool type --delay 2 "$(random_program)"
      xdotool key Return
    else
      xdotool key "$(pick answers)"
    fi
    return
  fi
  geometry
  if [ "$r" -lt 20 ]; then
    xdotool type --delay 3 "$(pick texts)"
  elif [ "$r" -lt 40 ]; then
    xdotool key "$(pick keys)"
  elif [ "$r" -lt 52 ]; then
    random_point
    xdotool mousemove "$px" "$py" click "$((1 + RANDOM % 3))"
  elif [ "$r" -lt 62 ]; then
    random_point
    local button=$((1 + RANDOM % 3)) x0=$px y0=$py
    random_point
    xdotool mousemove "$x0" "$y0" mousedown "$button" sleep 0.05 \
      mousemove "$(((x0 + px) / 2))" "$(((y0 + py) / 2))" sleep 0.05 mousemove "$px" "$py" \
      sleep 0.05 mouseup "$button"
  elif [ "$r" -lt 72 ]; then
    random_point
    xdotool mousemove "$px" "$py" click --repeat $((1 + RANDOM % 5)) "$((4 + RANDOM % 2))"
  elif [ "$r" -lt 90 ]; then
    # A menu by its letter, then an item some way down it.
    xdotool key "alt+$(pick menus)"
    local downs=$((RANDOM % 14))
    [ "$downs" -gt 0 ] && xdotool key --repeat "$downs" --delay 10 Down
    xdotool key Return
  elif [ "$r" -lt 93 ]; then
    outside_change
  elif [ "$r" -lt 95 ]; then
    random_point
    xdotool mousemove "$px" "$py" click --repeat 2 1
  elif [ "$r" -lt 97 ]; then
    # Back to the main window from another of the program's (Compare With, Program Info).
    xdotool windowfocus "$main" 2>/dev/null
  else
    xdotool key "$(pick answers)"
  fi
}

start_app
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
  act
  actions=$((actions + 1))
  sleep "0.0$((RANDOM % 10))"
  check_alive
  check_sanitizers
  check_heartbeat
  [ $((actions % 25)) -eq 0 ] && check_files
done
check_alive
check_sanitizers
check_heartbeat
check_files
cleanup
echo "monkey: clean: $actions actions in ${seconds}s, $starts window starts (seed $seed)"
rm -rf "$work"
