#!/bin/sh
# Writes the expected values of tests/data/machine/expressions/values.ngc from LinuxCNC's standalone
# interpreter: one line per "G0 X" case, its line number and the X that rs274 moved to.
# Needs rs274 (Debian package linuxcnc-uspace); the tests read the committed result only.
set -eu
dir=$(dirname "$0")/../tests/data/machine/expressions
out=$(mktemp)
trap 'rm -f "$out"' EXIT
rs274 -g "$dir/values.ngc" "$out" </dev/null >/dev/null
grep -n '^G0 X' "$dir/values.ngc" | cut -d: -f1 >"$out.lines"
sed -n 's/.*STRAIGHT_TRAVERSE(\([^,]*\),.*/\1/p' "$out" | paste -d' ' "$out.lines" - \
    >"$dir/values.expected"
rm -f "$out.lines"
