#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, then the Windows tests under Wine, of the x64
# build on every machine and of the x86 build where the machine runs 32-bit programs (tools/archs.sh;
# VARNEL_ARCHS=x64 forces the x64 road). Ends with one line that counts the passed and failed tests.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh || { echo "0 passed, 1 failed"; exit 1; }
source tools/wine-env.sh
trap wine_down EXIT

passed=0
failed=0
run_ctest() {
    local log
    log=$(mktemp)
    ctest --preset "$1" "${@:2}" 2>&1 | tee "$log"
    local summary
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        failed=$((failed + 1))  # ctest itself failed to run
    else
        local total bad
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    rm -f "$log"
}
run_ctest native -j2
ran=
for arch in $(varnel_archs); do
    tree=$(varnel_tree "$arch")
    echo "== Windows tests of the $arch build ($tree)"
    wine_arch "$arch"
    wine_up "$PWD/build/$tree/tests/bin/sleeper.exe"
    run_ctest "$tree"
    wine_down
    ran="$ran $arch"
done
summary="native and Windows tests ran:${ran}"
case " $(varnel_archs) " in
*" x86 "*) ;;
*) summary="$summary; x86 Windows tests skipped: $(varnel_x86_skipped_why)" ;;
esac
echo "$summary"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
