#!/usr/bin/env bash
# Builds vellumar.exe and starts it under Wine in the "shell" virtual desktop.
# On a machine without a display it runs on a private Xvfb; see the README.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target vellumar
export VELLUMAR_BUILD="$root/build/win64"
. "$root/scripts/wine-session.sh"
trap wine_session_end EXIT
wine_session_begin
echo "Vellumar is running on display $DISPLAY (tray icon in the virtual desktop's taskbar)."
wine "$VELLUMAR_BUILD/vellumar.exe"
# The program lives in the notification area after its window closes; wait for it to exit.
wineserver -w
