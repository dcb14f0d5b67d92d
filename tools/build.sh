#!/usr/bin/env bash
# Installs what is missing, then builds the native core with its tests and the Windows programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
# Configure every time: a program folder that appeared since is only found then.
cmake --preset native >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset native -- -k 0 | grep -v '^\[' || true
cmake --build --preset native >/dev/null
cmake --build --preset mingw -- -k 0 | grep -v '^\[' || true
cmake --build --preset mingw >/dev/null
