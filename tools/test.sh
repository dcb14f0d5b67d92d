#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, then the Windows tests under Wine.
# Ends with one line that counts the passed and failed tests.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh || { echo "0 passed, 1 failed"; exit 1; }
source tools/wine-env.sh
trap wine_down EXIT
wine_up "$PWD/build/mingw/tests/bin/sleeper.exe"

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
run_ctest mingw
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
