# Sourced by the package tests: their checks, and a throwaway copy of the booted test prefix.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env.sh"
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); return 1; fi
}
# throwaway_prefix ARCH FOLDER: Wine of that build in a copy of $WINEPREFIX (the booted test prefix) at FOLDER.
throwaway_prefix() {
    local source=$WINEPREFIX
    wine_arch "$1" "$2"
    cp -a "$source" "$WINEPREFIX"
    rm -f "$WINEPREFIX"/*.lock
}
