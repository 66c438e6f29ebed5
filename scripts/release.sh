#!/usr/bin/env bash
# Builds the Windows release packages in build/release/:
#   Vellumar-<version>-win64.zip        the stripped vellumar.exe and README.txt
#   Vellumar-<version>-win64-setup.exe  the per-user installer (NSIS)
# The version is project(VERSION) in CMakeLists.txt. Installs what it needs
# (MinGW-w64, nsis) unless VELLUMAR_SKIP_INSTALL=1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target release
ls -l build/release/Vellumar-*-win64.zip build/release/Vellumar-*-win64-setup.exe
