#!/usr/bin/env bash
# Builds the Debian package of Zorvit in build-deb/ and prints its file name.
#   scripts/build-deb.sh           build the .deb
#   scripts/build-deb.sh --check   then install it, start the programs from it, and remove it,
#                                  checking that no file of it stays behind (needs root or sudo)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

build=$root/build-deb
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DZORVIT_BUILD_TESTS=OFF -DZORVIT_BUILD_BENCH=OFF
cmake --build "$build" -j 2
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/zorvit_*.deb | head -n 1)
echo "$deb"
[ "${1:-}" = "--check" ] || exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q "$deb"
files=$(dpkg-query -L zorvit)
for f in /usr/bin/zorvit /usr/bin/zorvit-render /usr/bin/zorvit-table /usr/bin/zorvit-transform \
         /usr/share/applications/org.zorvit.Zorvit.desktop /usr/share/zorvit/word-help; do
  grep -qx "$f" <<<"$files" || { echo "FAIL: the package lacks $f" >&2; exit 1; }
done

zorvit --version
# The window starts and keeps running until it is stopped.
set +e
xvfb-run -a timeout 5 zorvit "$root/examples/pocket.ngc"
started=$?
set -e
[ "$started" -eq 124 ] || { echo "FAIL: zorvit ended by itself with status $started" >&2; exit 1; }
picture=$(mktemp --suffix=.png)
env -u DISPLAY zorvit-render "$root/examples/pocket.ngc" -o "$picture"
echo "zorvit-render wrote $(stat -c %s "$picture") bytes"
rm -f "$picture"

$sudo apt-get remove --purge -y -q zorvit
left=0
while read -r f; do
  [ -f "$f" ] && { echo "FAIL: $f stays after removal" >&2; left=1; }
done <<<"$files"
dpkg-query -W zorvit >/dev/null 2>&1 && dpkg-query -W -f='${Status}\n' zorvit | grep -q installed &&
  { echo "FAIL: the package is still installed" >&2; left=1; }
[ "$left" -eq 0 ] && echo "The package installs, starts and removes cleanly."
exit "$left"
