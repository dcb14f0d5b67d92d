#!/usr/bin/env bash
# Builds the programs and shows the program folder. (Starting the system under Wine comes with the hub.)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
echo "Program folder: $PWD/build/mingw/program"
ls -l build/mingw/program
