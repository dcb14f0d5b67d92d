#!/usr/bin/env bash
# The real installer and uninstaller under Wine, run as a user runs them, in a throwaway copy of the test prefix.
#   installer-test.sh SETUP_EXE STAGE_DIR TOUR_EXE SLEEPER_EXE      (WINEPREFIX: the booted test prefix)
# Two scenarios: the default folder (install, Varnel started from there, upgrade while it runs, uninstall
# keeping the settings) and a folder with blanks and non-ASCII letters (install and start, uninstall removing
# the settings). Prints one line per failed check and ends with 1 if there was any.
set -uo pipefail
setup=$1 stage=$2 tour=$3 sleeper=$4 source_prefix=$WINEPREFIX
# Wine takes its command lines and file names from the locale: non-ASCII letters need a UTF-8 one.
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/varnel-installer.XXXXXX)
export WINEPREFIX=$work/prefix
cp -a "$source_prefix" "$WINEPREFIX"
rm -f "$WINEPREFIX"/*.lock
source "$(dirname "$0")/../../tools/wine-env.sh"
cleanup() {
    wine_down
    rm -rf "$work"
}
trap cleanup EXIT
wine_up "$sleeper"

failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); return 1; fi
}
# Polls COMMAND until it succeeds, for at most SECONDS.
wait_for() {
    local seconds=$1 i
    shift
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
not() { ! "$@"; }
# What the installer starts must not hold the test's output open.
quiet() { "$@" >/dev/null 2>&1 </dev/null; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
reg_has() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
# reg.exe prints non-ASCII letters in a console code page; regedit exports the key as UTF-16.
exported_has() {
    wine regedit /E "$work/export.reg" "${1/HKCU/HKEY_CURRENT_USER}" >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | grep -qxF "$2"
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Varnel'
user_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData)
menu="$user_dir/Roaming/Microsoft/Windows/Start Menu/Programs/Varnel"

# Every shipped file, byte for byte, plus the uninstaller.
same_files() {
    local f
    for f in "$stage"/*; do cmp -s "$f" "$1/$(basename "$f")" || return 1; done
    [ -f "$1/Uninstall.exe" ]
}
shortcuts() {
    [ -f "$menu/Varnel Control Panel.lnk" ] && [ -f "$menu/Varnel User's Guide.lnk" ] &&
        [ -f "$menu/Uninstall Varnel.lnk" ]
}
# Varnel runs when the hub's window and every event exist; a screenshot in the folder shows where it runs.
started() { wine "$tour" wait-started 30 >/dev/null 2>&1; }
ended() { wine "$tour" ended 30 >/dev/null 2>&1; }
# A switch has desktop 1's switcher write its picture. The press is repeated: the hub registers its hot keys
# after its events exist.
switch_writes_picture() {
    local i
    rm -f "$1/desktop1.bmp"
    for i in $(seq 10); do
        wine "$tour" hotkey 8 50 >/dev/null 2>&1
        wait_for 3 test -s "$1/desktop1.bmp" && return 0
    done
    return 1
}
uninstall() {  # uninstall FOLDER [OPTIONS]: the uninstaller goes on from a copy of itself, so wait for its end
    local folder=$1
    shift
    wine "$folder/Uninstall.exe" /S "$@" >/dev/null 2>&1
    wait_for 60 not key_exists "$uninstall_key" && wait_for 30 not test -e "$folder"
}

echo "== default folder: install, start, upgrade while running, uninstall keeping the settings"
wine reg delete "$settings_key" /f >/dev/null 2>&1
wine reg delete "$run_key" /v Varnel /f >/dev/null 2>&1
dir=$user_dir/Local/Programs/Varnel
check "silent install ends with 0" quiet wine "$setup" /S
check "every file in %LOCALAPPDATA%\\Programs\\Varnel" same_files "$dir"
check "three Start-menu shortcuts" shortcuts
check "Apps & features entry names Varnel" value_is "$uninstall_key" DisplayName Varnel
check "the entry's version is the project's" value_is "$uninstall_key" DisplayVersion "$(basename "$setup" | sed 's/Varnel-\(.*\)-setup.exe/\1/')"
check "the entry's uninstall string is the quoted uninstaller" \
    value_is "$uninstall_key" UninstallString "\"$(winepath -w "$dir")\\Uninstall.exe\""
check "the entry has publisher, icon and size" \
    eval 'reg_has "$uninstall_key" Publisher && reg_has "$uninstall_key" DisplayIcon && [ "$(reg_value "$uninstall_key" EstimatedSize)" != 0x0 ]'
check "no Run value when not asked" not reg_has "$run_key" Varnel

# Started as its Start-menu shortcut starts it: in the user's profile.
(cd "$user_dir/.." && exec wine "$dir/Varnel.exe" >/dev/null 2>&1) &
hub=$!
check "the installed Varnel starts" started
check "its screenshot lands in the installed folder" switch_writes_picture "$dir"

wine reg add "$settings_key" /v Desktop2Name /d "Mail & more" /f >/dev/null 2>&1
echo "changed by hand" >"$dir/VarnelGuide.html"
check "upgrade over the running Varnel ends with 0" quiet wine "$setup" /S /LOGON ||
    wine "$tour" ended 0 | tr -d '\r' | sed 's/^/    still running: /'
check "the old hub has ended" wait_for 10 not kill -0 "$hub" 2>/dev/null
check "the files are the new ones" same_files "$dir"
check "the settings are unchanged" value_is "$settings_key" Desktop2Name "Mail & more"
check "/LOGON wrote the panel's quoted Run value" value_is "$run_key" Varnel "\"$(winepath -w "$dir")\\Varnel.exe\""
check "Varnel runs again after the upgrade" started

check "uninstall finishes" uninstall "$dir"
check "Varnel was shut down by the uninstaller" ended
check "the program folder is gone" not test -e "$dir"
check "the shortcuts are gone" not test -e "$menu"
check "the Run value is gone" not reg_has "$run_key" Varnel
check "the settings stay" value_is "$settings_key" Desktop2Name "Mail & more"

echo "== a folder with blanks and non-ASCII letters: install and start, uninstall removing the settings"
dir="$WINEPREFIX/drive_c/Mes programmes/Zoë Ångström/Varnel"
# /D takes the rest of the command line unquoted: Wine joins separate words with blanks and quotes none.
check "silent install with /D and /START ends with 0" quiet wine "$setup" /S /START /D=C:\\Mes programmes\\Zoë Ångström\\Varnel
check "every file in the chosen folder" same_files "$dir"
check "the entry's uninstall string names that folder" \
    exported_has "$uninstall_key" '"UninstallString"="\"C:\\Mes programmes\\Zoë Ångström\\Varnel\\Uninstall.exe\""'
check "/START started Varnel" started
check "its screenshot lands in the chosen folder" switch_writes_picture "$dir"
check "uninstall with /REMOVESETTINGS finishes" uninstall "$dir" /REMOVESETTINGS
check "Varnel was shut down" ended
check "nothing is left of the folder" not test -e "$dir"
check "the settings key is gone" not key_exists "$settings_key"
check "no Apps & features entry" not key_exists "$uninstall_key"
check "no shortcuts" not test -e "$menu"
check "no Varnel file left in the user's profile" eval '[ -z "$(find "$user_dir" -iname "*varnel*" -print -quit)" ]'

echo "$failures failed"
[ "$failures" -eq 0 ]
