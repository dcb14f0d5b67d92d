#!/usr/bin/env bash
# Makes the two packages a Windows user downloads, in build/dist/: Varnel-<version>-setup.exe (NSIS, per user)
# and Varnel-<version>-portable.zip (the program folder with the guide and a read-me).
#   tools/package.sh                                  builds everything; the build makes the packages
#   tools/package.sh PROGRAM_DIR DIST_DIR VERSION     what the build calls
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
    bash "$root/tools/build.sh"
    ls -l "$root"/build/dist/Varnel-*
    exit 0
fi
program=$1 dist=$2 version=$3
stage=$dist/stage/Varnel
rm -rf "$dist/stage"
mkdir -p "$stage"
# Only what ships: the screenshots and the error log a run leaves in the program folder do not.
find "$program" -maxdepth 1 -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.html' \) \
    -exec cp -p {} "$stage/" \;
for f in Varnel.exe VarnelControlPanel.exe VarnelGuide.html FreeImage.dll; do
    [ -f "$stage/$f" ] || { echo "package: $f is missing from $program" >&2; exit 1; }
done

# Every file once, for the installer to install and the uninstaller to remove; the programs also for the
# uninstaller's check that none of them still runs.
files=$dist/stage/files.nsh
{
    echo '!macro VARNEL_INSTALL_FILES'
    for f in "$stage"/*; do echo "    File \"$f\""; done
    echo '!macroend'
    echo '!macro VARNEL_REMOVE_FILES'
    for f in "$stage"/*; do echo "    Delete \"\$INSTDIR\\$(basename "$f")\""; done
    echo '!macroend'
    echo '!macro VARNEL_EACH_PROGRAM function'
    for f in "$stage"/*.exe; do printf '    Push "%s"\n    Call ${function}\n' "$(basename "$f")"; done
    echo '!macroend'
} >"$files"

setup=$dist/Varnel-$version-setup.exe
# Packages of an earlier version number would be mistaken for current ones.
rm -f "$dist"/Varnel-*-setup.exe "$dist"/Varnel-*-portable.zip
makensis -V1 -DVERSION="$version" -DICON="$root/hub/res/Varnel.ico" -DFILES="$files" -DOUTFILE="$setup" \
    "$root/packaging/Varnel.nsi"

zip=$dist/Varnel-$version-portable.zip
sed "s/@VERSION@/$version/; s/\$/\r/" "$root/packaging/README-portable.txt" >"$stage/README.txt"
(cd "$dist/stage" && zip -q -r -X "$zip" Varnel)
rm -f "$stage/README.txt"
echo "package: $setup"
echo "package: $zip"
