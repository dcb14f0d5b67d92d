#!/usr/bin/env bash
# Packages signed with a throwaway certificate: every program, FreeImage.dll, the uninstaller's plug-in, the
# installer, and the uninstaller the installer writes (installed in a throwaway copy of the test prefix) carry an
# Authenticode signature that verifies against that certificate.
#   signing-test.sh PROGRAM_DIR PLUGIN_DIR VERSION ARCH SLEEPER_EXE     (WINEPREFIX: the booted test prefix)
set -uo pipefail
program=$1 plugin_dir=$2 version=$3 arch=$4 sleeper=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/varnel-signing.XXXXXX)
source "$(dirname "$0")/checks.sh"
trap 'wine_down; rm -rf "$work"' EXIT

signed() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" 2>/dev/null | grep -q '^Signature verification: ok'; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Varnel test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" -passout pass:throwaway ||
    { echo "FAILED: no throwaway certificate"; exit 1; }
dist=$work/dist
VARNEL_SIGN_PFX=$work/cert.pfx VARNEL_SIGN_PASSWORD=throwaway \
    bash "$root/tools/package.sh" "$program" "$dist" "$version" "$arch" "$plugin_dir" >"$work/package.log" 2>&1 ||
    { cat "$work/package.log"; echo "FAILED: packaging with a certificate"; exit 1; }
check "the package says nothing of being unsigned" eval '! grep -q "not signed" "$work/package.log"'
setup=$dist/Varnel-$version-$arch-setup.exe
shipped=("$dist/stage-$arch"/Varnel/*.exe "$dist/stage-$arch"/Varnel/*.dll "$dist/stage-$arch"/plugins/*.dll "$setup")
check "${#shipped[@]} programs and libraries found, the guide being no program" [ ${#shipped[@]} -ge 14 ]
for f in "${shipped[@]}"; do check "$(basename "$f") is signed" signed "$f"; done

throwaway_prefix "$arch" "$work/prefix"
wine_up "$sleeper"
check "the uninstaller the installer writes is signed" eval 'wine "$setup" /S /D=C:\\Signed >/dev/null 2>&1 &&
    signed "$WINEPREFIX/drive_c/Signed/Uninstall.exe"'

echo "$failures failed"
[ "$failures" -eq 0 ]
