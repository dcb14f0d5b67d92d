#!/usr/bin/env bash
# Builds everything and runs the benchmarks under Wine on an Xvfb of their own (VARNEL_SCREEN, 1920x1080 unless
# set); each prints its own figures. The machine's load is printed around them: the ratios to the yardsticks
# of the same run are what compare across runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
export VARNEL_SCREEN=${VARNEL_SCREEN:-1920x1080x24}
unset DISPLAY
source tools/wine-env.sh
trap wine_down EXIT
wine_up "$PWD/build/mingw/tests/bin/sleeper.exe"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
for bench in build/mingw/bench/bin/*_bench.exe; do
    echo "== $(basename "$bench" .exe)"
    wine "$bench" "$@"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
