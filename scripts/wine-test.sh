#!/usr/bin/env bash
# How CTest runs a Windows test program (the test executables' emulator): through
# Wine, with the C runtime's carriage returns taken out of what it prints, so
# that the test list GoogleTest prints reads line by line. The exit status is
# the program's. The output goes through a file, not a pipe: the wineserver
# that the first program starts inherits it and outlives the program.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1
rc=$?
tr -d '\r' <"$out"
exit "$rc"
