#!/usr/bin/env bash
# Installs what building, running and testing OrvaPlayer needs on Debian 12.
# Quick when everything is already there: it only asks apt when a package
# is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin libqt6opengl6-dev
  libmpv-dev libhivex-dev libsqlite3-dev sqlite3 libxml2-dev libspeechd-dev speech-dispatcher
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  espeak-ng sox libsox-fmt-mp3 ffmpeg lame
  fonts-dejavu-core
  xvfb xauth dbus-daemon dbus-bin at-spi2-core
  # a screen reader and a key presser for the keyboard's end-to-end test
  orca xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please run as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
