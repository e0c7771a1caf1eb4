#!/usr/bin/env bash
# Builds a launcher that carries one's own installer packages, from a bundle description (see the
# README, "Building a launcher for your packages"). Makes the shipped 32-bit launcher, or with --win64
# its 64-bit twin (the one that runs under wine64 here). Installs missing Debian packages first.
# Usage: scripts/make-launcher.sh [--win64] [--sign CERTIFICATE.p12 PASSWORD_FILE] DESCRIPTION [OUTPUT.exe]
#   OUTPUT.exe defaults to the description's name with ".exe", in the current folder.
#   --sign signs the launcher with Authenticode (scripts/sign-launcher.sh); the password is read from the
#   file. LAUNCHER_TIMESTAMP_URL, when set, names a time-stamping server for the signature.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
arch=win32
toolchain=mingw-i686
certificate=
password=
while [ $# -gt 0 ]; do
    case "$1" in
        --win64) arch=win64; toolchain=mingw-x86_64; shift ;;
        --sign)
            [ $# -ge 3 ] && [ -f "$2" ] && [ -f "$3" ] || { echo "--sign needs a PKCS#12 file and a password file" >&2; exit 2; }
            certificate=$2; password=$3; shift 3 ;;
        *) break ;;
    esac
done
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 [--win64] [--sign CERTIFICATE.p12 PASSWORD_FILE] DESCRIPTION [OUTPUT.exe]" >&2
    exit 2
fi
description=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
stem=$(basename "$description")
stem=${stem%.*}
output=${2:-$PWD/$stem.exe}
# The target name CMake gives it (MAKE_C_IDENTIFIER of "Launcher_<stem>").
target=$(printf 'Launcher_%s' "$stem" | sed 's/[^A-Za-z0-9_]/_/g')

"$ROOT/scripts/setup-debian.sh"
# A build folder of its own, so that the regular builds never depend on these packages.
tree="$BUILD/launchers-$arch"
# libcurl, built once for this tree from Debian's source package like the regular trees'.
if [ "$arch" = win64 ]; then curl_arch=x86_64; else curl_arch=i686; fi
bash "$ROOT/scripts/build-curl.sh" "$curl_arch" "$tree"
cmake -S "$ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" -DLAUNCHER_BUNDLES="$description" >/dev/null
cmake --build "$tree" --target "$target"
cp "$tree/$target.exe" "$output"
if [ -n "$certificate" ]; then
    "$ROOT/scripts/sign-launcher.sh" "$output" "$certificate" "$password" ${LAUNCHER_TIMESTAMP_URL:+"$LAUNCHER_TIMESTAMP_URL"}
fi
echo "Launcher: $output ($(stat -c %s "$output") bytes)"
