#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the tools need.
# Safe to run more than once: apt only installs what is missing.
# With --windows, also the MinGW-w64 cross compiler and Wine, which the Windows
# build and its tests need (scripts/build-windows.sh asks for them), and the
# tools that build cairo for it.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  juce-modules-source-data
  libcairo2-dev
  dpf-source libx11-dev libxext-dev libxrandr-dev libxcursor-dev
  fonts-liberation fontconfig libfontconfig-dev
  libgtest-dev googletest libbenchmark-dev
  libsndfile1-dev libsmf-dev libcli11-dev
  xvfb x11-apps imagemagick xauth
  zam-plugins
  clang libclang-rt-14-dev
)
if [ "${1:-}" = "--windows" ]; then
  # meson, ninja and dpkg-dev build the editor's libraries from Debian's sources.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64 meson ninja-build dpkg-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
