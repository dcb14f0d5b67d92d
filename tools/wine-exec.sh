#!/usr/bin/env bash
# CTest's emulator for the Windows test programs: the Wine of the program's build (tools/test.sh prepares the
# prefix and the display). Output goes through a file: Wine leaves the output pipe open in a helper for about a
# second after the program ends, and CTest would wait for it on every test.
source "$(dirname "$0")/wine-env.sh"
wine_arch "$(pe_arch "$1")"
out=$(mktemp)
wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
