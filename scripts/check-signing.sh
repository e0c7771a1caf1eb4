#!/usr/bin/env bash
# Signs copies of the demo launcher (the shipped 32-bit one and its 64-bit twin) with a throw-away
# code-signing certificate made here by openssl, verifies both signatures with osslsigncode, and runs the
# signed twin's /v under wine64: a signature must leave the launcher working and its payload intact.
# Needs the win32 and win64 trees built (scripts/build.sh).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Quenlis Throw-away Code Signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/certificate.pem" 2>/dev/null
head -c 18 /dev/urandom | base64 >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/certificate.pem" -out "$work/certificate.p12" \
    -passout "file:$work/password"

for tree in win32 win64; do
    launcher="$work/QuenlisDemoSetup-$tree.exe"
    cp "$BUILD/$tree/QuenlisDemoSetup.exe" "$launcher"
    "$ROOT/scripts/sign-launcher.sh" "$launcher" "$work/certificate.p12" "$work/password" >/dev/null
    if ! verdict=$(osslsigncode verify -CAfile "$work/certificate.pem" -in "$launcher" 2>&1) ||
        ! grep -q "Signature verification: ok" <<<"$verdict"; then
        echo "$verdict" >&2
        echo "$tree: the signature of the demo launcher does not verify" >&2
        exit 1
    fi
    echo "$tree: signed ($(stat -c %s "$BUILD/$tree/QuenlisDemoSetup.exe") -> $(stat -c %s "$launcher") bytes), signature verified"
done

export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
if ! output=$("$ROOT/scripts/wine-run.sh" "$work/QuenlisDemoSetup-win64.exe" /v 2>&1); then
    echo "$output" >&2
    echo "win64: the signed demo launcher fails /v" >&2
    exit 1
fi
echo "win64: the signed demo launcher passes /v"
