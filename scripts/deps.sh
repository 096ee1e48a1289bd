#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zorvit need, when missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev libqt6opengl6-dev libgl-dev libqscintilla2-qt6-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth libgl1-mesa-dri
          clang libclang-rt-14-dev)  # the fuzz targets: clang 14 and its libFuzzer

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
