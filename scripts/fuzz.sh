#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60). Exits non-zero on any
# finding; the input that found it is kept in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS]
# Seeds: tests/data, examples, tests/fuzz/seeds, and the shared corpus of real programs when it
# is there (../shared/corpus beside the project, or $ZORVIT_SEED_CORPUS).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/deps.sh

build=build-fuzz
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZORVIT_FUZZ=ON)
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"

seeds=(tests/data examples tests/fuzz/seeds)
shared="${ZORVIT_SEED_CORPUS:-../shared/corpus}"
[ -d "$shared" ] && seeds+=("$shared")

mkdir -p "$build/findings"
status=0
passed=0
failed=0
for target in RunFuzzer HighlighterFuzzer IniFileFuzzer SettingsFuzzer MachineFuzzer EditFuzzer; do
  corpus="$build/corpus/$target"   # grows from run to run
  mkdir -p "$corpus"
  log="$build/$target.log"
  echo "== $target, $seconds s"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
       -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
       "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    grep -E 'stat::number_of_executed_units|stat::new_units_added' "$log" || true
    passed=$((passed + 1))
  else
    status=1
    failed=$((failed + 1))
    echo "$target found a fault; its log is $log:"
    tail -n 40 "$log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
exit "$status"
