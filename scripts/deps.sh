#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zorvit need, when missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev libqt6opengl6-dev libgl-dev libqscintilla2-qt6-dev
          libxcb1-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth libgl1-mesa-dri locales time xdotool
          qt6-wayland weston  # the window as a Wayland client, under a headless compositor
          fonts-dejavu-extra
          libegl-dev libegl-mesa0 librsvg2-bin zlib1g-dev
          desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db dpkg-dev
          xdotool  # scripts/monkey.sh drives the window
          clang libclang-rt-14-dev)  # the fuzz targets: clang 14 and its libFuzzer

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# The test that G-code keeps "." as its decimal point needs a locale that writes a comma.
comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return
  echo "Generating the locale de_DE.UTF-8"
  if grep -q '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
comma_locale
