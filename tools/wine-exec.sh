#!/bin/sh
# CTest's emulator for the Windows test programs; tools/test.sh prepares the prefix and the display.
# Output goes through a file: Wine leaves the output pipe open in a helper for about a second after the
# program ends, and CTest would wait for it on every test.
out=$(mktemp)
wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
