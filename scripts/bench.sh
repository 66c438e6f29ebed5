#!/usr/bin/env bash
# Runs the benchmarks: the portable core natively (optimised build), then the
# Windows-side ones under Wine, then vellumar.exe against the floor program
# (start-up, private memory, idle CPU, the window's longest answer during a
# release). Figures only; nothing here passes or fails.
#   scripts/bench.sh          everything
#   scripts/bench.sh floor    only vellumar.exe against the floor program
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"
only="${1:-}"
if [ -z "$only" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench
    ./build/bench/benchmarks
fi

cmake --preset win64-bench >/dev/null
cmake --build --preset win64-bench
export VELLUMAR_BUILD="$root/build/win64-bench"
. "$root/scripts/wine-session.sh"
. "$root/scripts/bench-floor.sh"
trap wine_session_end EXIT
wine_session_begin
if [ -z "$only" ]; then
    for bench in "$VELLUMAR_BUILD"/win_*.exe; do
        echo "== $(basename "$bench")"
        wine "$bench"
    done
fi
bench_floor
