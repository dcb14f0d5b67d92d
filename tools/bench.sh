#!/usr/bin/env bash
# Builds everything and runs the benchmarks under Wine; each prints its own figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
source tools/wine-env.sh
trap wine_down EXIT
wine_up "$PWD/build/mingw/tests/bin/sleeper.exe"
for bench in build/mingw/bench/bin/*.exe; do
    echo "== $(basename "$bench" .exe)"
    wine "$bench" "$@"
done
