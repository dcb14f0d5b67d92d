#!/usr/bin/env bash
# The real installer and uninstaller under Wine, run as a user runs them, in a throwaway copy of the test prefix.
# Where Wine cannot show a case by itself the prefix stands in: a program started on desktop 2 runs there, and
# with EnableLUA set, the full token Wine gives every program reads as an administrator's elevated one.
#   installer-test.sh SETUP_EXE STAGE_DIR TOUR_EXE SLEEPER_EXE      (WINEPREFIX: the booted test prefix)
set -uo pipefail
setup=$1 stage=$2 tour=$3 sleeper=$4
# Wine takes its command lines and file names from the locale: non-ASCII letters need a UTF-8 one.
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/varnel-installer.XXXXXX)
source "$(dirname "$0")/checks.sh"
throwaway_prefix "$(pe_arch "$setup")" "$work/prefix"
trap 'wine_down; rm -rf "$work"' EXIT
wine_up "$sleeper"

wait_for() {  # wait_for SECONDS COMMAND...: polls COMMAND until it succeeds
    local end=$((SECONDS + $1))
    shift
    until "$@"; do ((SECONDS < end)) || return 1; sleep 0.1; done
}
not() { ! "$@"; }
quiet() { "$@" >/dev/null 2>&1 </dev/null; }  # what the installer starts must not hold the test's output open
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
no_value() { [ -z "$(reg_value "$1" "$2")" ]; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Varnel'
user_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData)
menu="$user_dir/Roaming/Microsoft/Windows/Start Menu/Programs/Varnel"

installed() {  # every shipped file byte for byte, the uninstaller and the three shortcuts
    local f
    for f in "$stage"/*; do cmp -s "$f" "$1/$(basename "$f")" || return 1; done
    [ -f "$1/Uninstall.exe" ] && [ -f "$menu/Varnel Control Panel.lnk" ] && [ -f "$menu/Varnel User's Guide.lnk" ] &&
        [ -f "$menu/Uninstall Varnel.lnk" ]
}
# Varnel runs when the hub's window and every event exist.
started() { wine "$tour" wait-started 30 >/dev/null 2>&1; }
ended() { wine "$tour" ended 30 >/dev/null 2>&1; }
# A switch has desktop 1's switcher write its picture beside it. The press is repeated (wait_for): the hub
# registers its hot keys after its events exist.
press_for_picture() {
    wine "$tour" hotkey 8 50 >/dev/null 2>&1
    wait_for 3 test -s "$1/desktop1.bmp"
}
uninstall() {  # uninstall FOLDER [OPTIONS]: the uninstaller goes on from a copy of itself, so wait for its end
    local folder=$1
    shift
    wine "$folder/Uninstall.exe" /S "$@" >/dev/null 2>&1
    wait_for 60 not key_exists "$uninstall_key" && wait_for 30 not test -e "$folder" && ended
}

echo "== default folder: install, start, upgrade while running, uninstall keeping the settings"
wine reg delete "$settings_key" /f >/dev/null 2>&1
wine reg delete "$run_key" /v Varnel /f >/dev/null 2>&1
dir=$user_dir/Local/Programs/Varnel
version=$(basename "$setup" | sed 's/Varnel-\(.*\)-x[0-9]*-setup.exe/\1/')
check "started on desktop 2, setup ends with exit code 3 and installs nothing" eval 'wine "$tour" run 2 \
    "\"$(winepath -w "$setup")\"" /S >/dev/null 2>&1; [ $? -eq 3 ] && not key_exists "$uninstall_key" &&
    not test -e "$dir" && not test -e "$menu"'
check "silent install: every file in %LOCALAPPDATA%\\Programs\\Varnel" eval 'quiet wine "$setup" /S && installed "$dir"'
check "Apps & features entry: name, version, quoted uninstaller, size" eval 'value_is "$uninstall_key" DisplayName Varnel &&
    value_is "$uninstall_key" DisplayVersion "$version" && [ "$(reg_value "$uninstall_key" EstimatedSize)" != 0x0 ] &&
    value_is "$uninstall_key" UninstallString "\"$(winepath -w "$dir")\\Uninstall.exe\""'
check "no Run value when not asked" no_value "$run_key" Varnel
# Started as its Start-menu shortcut starts it: in the user's profile.
(cd "$user_dir/.." && exec wine "$dir/Varnel.exe" >/dev/null 2>&1) &
hub=$!
check "the installed Varnel starts" started
wine reg add "$settings_key" /v Desktop2Name /d "Mail & more" /f >/dev/null 2>&1
echo "changed by hand" >"$dir/VarnelGuide.html"
check "upgrade over the running Varnel ends with 0" quiet wine "$setup" /S /LOGON
check "the old hub has ended" wait_for 10 not kill -0 "$hub" 2>/dev/null
check "the files are the new ones, the settings unchanged" eval 'installed "$dir" &&
    value_is "$settings_key" Desktop2Name "Mail & more"'
check "/LOGON wrote the quoted Run value" value_is "$run_key" Varnel "\"$(winepath -w "$dir")\\Varnel.exe\""
check "Varnel runs again after the upgrade" started
check "uninstall shuts Varnel down and removes the folder" uninstall "$dir"
check "no shortcuts, no Run value, the settings stay" eval 'not test -e "$menu" && no_value "$run_key" Varnel &&
    value_is "$settings_key" Desktop2Name "Mail & more"'

echo "== a folder with blanks and non-ASCII letters: install and start, uninstall removing the settings"
dir="$WINEPREFIX/drive_c/Mes programmes/Zoë Ångström/Varnel"
# /D takes the rest of the command line unquoted: Wine joins separate words with blanks and quotes none.
install_there() { quiet wine "$setup" /S "$@" /D=C:\\Mes programmes\\Zoë Ångström\\Varnel; }
uac() {
    wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System' /v EnableLUA /t REG_DWORD \
        /d "$1" /f >/dev/null 2>&1
}
# A hub started by setup would already run when setup ends.
uac 1
check "elevated, a silent install with /D and /START installs and starts nothing" eval 'install_there /START &&
    installed "$dir" && wine "$tour" ended 0 >/dev/null 2>&1'
uac 0
check "not elevated, the same install starts Varnel" eval 'install_there /START && started'
check "its screenshot lands in the chosen folder" wait_for 30 press_for_picture "$dir"
check "uninstall with /REMOVESETTINGS shuts Varnel down and removes the folder" uninstall "$dir" /REMOVESETTINGS
check "no settings key, Apps & features entry or shortcut" eval 'not key_exists "$settings_key" &&
    not key_exists "$uninstall_key" && not test -e "$menu"'
check "no Varnel file left in the user's profile" eval '[ -z "$(find "$user_dir" -iname "*varnel*" -print -quit)" ]'

echo "$failures failed"
[ "$failures" -eq 0 ]
