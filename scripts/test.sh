#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests of the portable core
# (under sanitizers), then the Windows-side integration tests and the end-to-end
# tests through Wine on a virtual display. Exits non-zero when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"

echo "== native: portable core and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j 2

echo "== win64: vellumar.exe, integration and end-to-end tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64
export VELLUMAR_BUILD="$root/build/win64"
. "$root/scripts/wine-session.sh"
trap wine_session_end EXIT
wine_session_begin
ctest --preset win64

