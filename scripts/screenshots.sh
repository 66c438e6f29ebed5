#!/usr/bin/env bash
# Refreshes the pictures in docs/screenshots/: runs the end-to-end tests (and
# the release packages' tests, which photograph the installer) with
# VELLUMAR_SCREENSHOTS set, so each test that shows a page photographs it,
# then converts every picture to PNG. Exits non-zero, naming the picture,
# when a capture is missing or holds no pixels.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"

cmake --preset win64 >/dev/null
cmake --build --preset win64
export VELLUMAR_BUILD="$root/build/win64"
. "$root/scripts/wine-session.sh"
trap wine_session_end EXIT
wine_session_begin

shots="$VELLUMAR_BUILD/screenshots"
rm -rf "$shots"
mkdir -p "$shots" "$root/docs/screenshots"
export VELLUMAR_SCREENSHOTS="$shots"
ctest --preset win64 -L 'end_to_end|release'

failed=0
for png in "$root"/docs/screenshots/*.png; do
    name="$(basename "${png%.png}")"
    shot="$shots/$name.bmp"
    if [ ! -s "$shot" ]; then
        echo "screenshot $name: no picture was taken" >&2
        failed=1
    elif ! convert "$shot" "png:$png.new" 2>/dev/null; then
        echo "screenshot $name: $shot is not a picture" >&2
        rm -f "$png.new"
        failed=1
    else
        mv "$png.new" "$png"
    fi
done
# Pictures that the docs do not have yet.
for shot in "$shots"/*.bmp; do
    [ -e "$shot" ] || continue
    png="$root/docs/screenshots/$(basename "${shot%.bmp}").png"
    [ -e "$png" ] || convert "$shot" "$png" || { echo "screenshot $(basename "$shot"): not a picture" >&2; failed=1; }
done
exit "$failed"
