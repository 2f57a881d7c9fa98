#!/bin/bash
# Installs, when missing, every Debian 12 package that the build, the demo and the
# tests need. Run as root (or with sudo available).
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 python3-pil
    googletest libgtest-dev
    g++-mingw-w64-x86-64-posix
    wine wine64
    xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
    lame gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
