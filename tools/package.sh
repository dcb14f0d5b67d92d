#!/usr/bin/env bash
# Makes the packages a Windows user downloads, in build/dist/, one pair per architecture (x64, x86):
# Varnel-<version>-<arch>-setup.exe (NSIS, per user) and Varnel-<version>-<arch>-portable.zip (the program
# folder with the guide and a read-me).
#   tools/package.sh                                       builds everything; the build makes the packages
#   tools/package.sh PROGRAM_DIR DIST_DIR VERSION ARCH PLUGIN_DIR
#                                                          what the build calls; PLUGIN_DIR holds the uninstaller's
#                                                          NSIS plug-in VarnelSetup.dll built for ARCH
#   tools/package.sh --sign FILE                           signs one file (makensis calls it for the uninstaller)
# Signing: with VARNEL_SIGN_PFX (a PKCS#12 file holding the certificate and its key) and VARNEL_SIGN_PASSWORD,
# every program, FreeImage.dll, the uninstaller's plug-in, the uninstaller and the installer get an Authenticode
# signature (with a timestamp from VARNEL_SIGN_TIMESTAMP when given); without them the packages are made unsigned
# and it says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sign_args=()
if [ -n "${VARNEL_SIGN_PFX:-}" ]; then
    [ -f "$VARNEL_SIGN_PFX" ] || { echo "package: no certificate file $VARNEL_SIGN_PFX" >&2; exit 1; }
    sign_args=(-pkcs12 "$VARNEL_SIGN_PFX" -h sha256 -n Varnel)
    [ -z "${VARNEL_SIGN_TIMESTAMP:-}" ] || sign_args+=(-t "$VARNEL_SIGN_TIMESTAMP")
fi
# sign FILE: signs in place (osslsigncode writes a new file); the password never shows on a command line.
sign() {
    osslsigncode sign "${sign_args[@]}" -readpass <(printf '%s' "${VARNEL_SIGN_PASSWORD:-}") \
        -in "$1" -out "$1.signed" >/dev/null &&
        mv "$1.signed" "$1" || { rm -f "$1.signed"; echo "package: signing $1 failed" >&2; return 1; }
}
# What makensis calls for the uninstaller it is about to pack.
if [ "${1:-}" = --sign ]; then
    sign "$2"
    exit
fi
if [ $# -eq 0 ]; then
    bash "$root/tools/build.sh"
    ls -l "$root"/build/dist/Varnel-*
    exit 0
fi
program=$1 dist=$2 version=$3 arch=$4 plugin_dir=$5
stage=$dist/stage-$arch/Varnel
plugins=$dist/stage-$arch/plugins
rm -rf "$dist/stage-$arch"
mkdir -p "$stage" "$plugins"
cp -p "$plugin_dir/VarnelSetup.dll" "$plugins/"
# Only what ships: the screenshots and the error log a run leaves in the program folder do not.
find "$program" -maxdepth 1 -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.html' \) \
    -exec cp -p {} "$stage/" \;
for f in Varnel.exe VarnelControlPanel.exe VarnelGuide.html FreeImage.dll; do
    [ -f "$stage/$f" ] || { echo "package: $f is missing from $program" >&2; exit 1; }
done

signing=no
if [ ${#sign_args[@]} -gt 0 ]; then
    signing=yes
    for f in "$stage"/*.exe "$stage"/*.dll "$plugins"/*.dll; do sign "$f"; done
fi

# Every file once, for the installer to install and the uninstaller to remove; the programs also for the
# uninstaller's check that none of them still runs.
files=$dist/stage-$arch/files.nsh
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

setup=$dist/Varnel-$version-$arch-setup.exe
# Packages of an earlier version number would be mistaken for current ones.
rm -f "$dist"/Varnel-*-"$arch"-setup.exe "$dist"/Varnel-*-"$arch"-portable.zip
target=x86-unicode
[ "$arch" = x64 ] && target=amd64-unicode
nsis_sign=()
if [ "$signing" = yes ]; then
    # The uninstaller is written by the installer; makensis hands it over to be signed before it is packed.
    nsis_sign=(-DSIGN="bash \"$root/tools/package.sh\" --sign \"%1\"")
fi
makensis -V1 -DTARGET="$target" -DVERSION="$version" -DICON="$root/hub/res/Varnel.ico" -DFILES="$files" \
    -DPLUGINS="$plugins" -DOUTFILE="$setup" "${nsis_sign[@]}" "$root/packaging/Varnel.nsi"
[ "$signing" = no ] || sign "$setup"

zip=$dist/Varnel-$version-$arch-portable.zip
sed "s/@VERSION@/$version/; s/\$/\r/" "$root/packaging/README-portable.txt" >"$stage/README.txt"
(cd "$dist/stage-$arch" && zip -q -r -X "$zip" Varnel)
rm -f "$stage/README.txt"
echo "package: $setup"
echo "package: $zip"
if [ "$signing" = no ]; then
    echo "package: not signed (set VARNEL_SIGN_PFX and VARNEL_SIGN_PASSWORD to sign)"
fi
