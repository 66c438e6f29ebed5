#!/bin/sh
# Folders for the release end-to-end tests.
#   release_fixture.sh unpack DIR ZIP   unpacks ZIP into DIR/portable and into
#                                       DIR/readonly, whose program folder is
#                                       then made immutable (no new files)
#   release_fixture.sh unlock DIR       makes DIR removable again
set -eu
unlock() { [ -d "$1" ] && chattr -R -i "$1" 2>/dev/null || true; }
case "$1" in
unpack)
    unlock "$2"
    rm -rf "$2"
    for kind in portable readonly; do
        mkdir -p "$2/$kind"
        (cd "$2/$kind" && cmake -E tar xf "$3")
    done
    chattr +i "$2"/readonly/*/
    ;;
unlock) unlock "$2" ;;
esac
