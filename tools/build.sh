#!/usr/bin/env bash
# Installs what is missing, then builds the native core with its tests and the Windows programs of both
# architectures (x64 in build/mingw64, x86 in build/mingw; both build on every machine, whichever runs).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
# Configure every time: a program folder that appeared since is only found then.
for preset in native mingw64 mingw; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- -k 0 | grep -v '^\[' || true
    cmake --build --preset "$preset" >/dev/null
done
