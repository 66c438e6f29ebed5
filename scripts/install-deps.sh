#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vellumar need.
# Run as root. Set VELLUMAR_SKIP_INSTALL=1 to skip (for example on a machine set up already).
set -euo pipefail
[ "${VELLUMAR_SKIP_INSTALL:-0}" = 1 ] && exit 0

packages=(
    cmake ninja-build g++ git
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
    wine wine64 xvfb x11-utils xdotool imagemagick
    fonts-wine fonts-wqy-microhei fonts-liberation fonts-dejavu-core
    clang-format clang-tidy
    nsis
)
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${packages[@]}" >/dev/null
