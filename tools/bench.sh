#!/usr/bin/env bash
# Builds everything and runs the benchmarks under Wine for each build the machine runs (tools/archs.sh: x64
# everywhere, x86 where 32-bit programs run), each build on an Xvfb of its own (VARNEL_SCREEN, 1920x1080 unless
# set). Every benchmark prints its figures beside the yardsticks of the same run and one "goal:" line per goal it
# measures; the goals of each build are repeated together at the end. The machine's load is printed around each
# benchmark: the ratios of one run are what compare across runs and machines. Arguments go to every benchmark
# (the hub and road benchmarks take a number of switches).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh >&2
export VARNEL_SCREEN=${VARNEL_SCREEN:-1920x1080x24}
unset DISPLAY
source tools/wine-env.sh
trap wine_down EXIT

archs=$(varnel_archs)
first="benchmarks of the builds: ${archs// /, }"
case " $archs " in
*" x86 "*) ;;
*) first="$first; x86 not run: $(varnel_x86_skipped_why)" ;;
esac
echo "$first"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -r)"

summary=
for arch in $archs; do
    tree=$(varnel_tree "$arch")
    echo "=== the $arch build (build/$tree), screen $VARNEL_SCREEN"
    wine_arch "$arch"
    wine_up "$PWD/build/$tree/tests/bin/sleeper.exe"
    output=$(mktemp)
    for bench in "build/$tree/bench/bin/"*_bench.exe; do
        echo "== $(basename "$bench" .exe) (load average $(cut -d' ' -f1-3 /proc/loadavg))"
        wine "$bench" "$@" | tr -d '\r' | tee -a "$output" || echo "$(basename "$bench") failed"
    done
    echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
    summary+="goals of the $arch build:"$'\n'"$(grep '^goal: ' "$output" | sed 's/^goal: /  /')"$'\n'
    rm -f "$output"
    wine_down
done
printf '%s' "$summary"
