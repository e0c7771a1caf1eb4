#!/usr/bin/env bash
# Signs a launcher with Authenticode (SHA-256) using Debian's osslsigncode and a PKCS#12 certificate.
# The password is read from a file, so that it never shows in a process list.
# Usage: scripts/sign-launcher.sh LAUNCHER.exe CERTIFICATE.p12 PASSWORD_FILE [TIMESTAMP_URL]
#   The launcher is signed in place. With a time-stamping server's address the signature is also
#   time-stamped, so that it stays valid after the certificate expires (this needs the network).
set -euo pipefail
if [ $# -lt 3 ] || [ ! -f "$1" ] || [ ! -f "$2" ] || [ ! -f "$3" ]; then
    echo "usage: $0 LAUNCHER.exe CERTIFICATE.p12 PASSWORD_FILE [TIMESTAMP_URL]" >&2
    exit 2
fi
launcher=$1
certificate=$2
password=$3
command -v osslsigncode >/dev/null || "$(dirname "$0")/setup-debian.sh"
options=(-pkcs12 "$certificate" -readpass "$password" -h sha256 -n "$(basename "$launcher" .exe)")
[ -n "${4-}" ] && options+=(-ts "$4")
signed=$(mktemp "$(dirname "$launcher")/.signing.XXXXXX")
trap 'rm -f "$signed"' EXIT
# osslsigncode refuses to write over an existing file.
rm -f "$signed"
osslsigncode sign "${options[@]}" -in "$launcher" -out "$signed" >/dev/null
mv "$signed" "$launcher"
echo "Signed: $launcher"
