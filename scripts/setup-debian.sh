#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the demo need. Safe to run again: it
# only calls apt-get when something is missing.
set -euo pipefail
PACKAGES=(
    cmake ninja-build g++ python3 git dpkg-dev
    clang libclang-rt-14-dev
    libgtest-dev libgmock-dev
    mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine64 wixl msitools gcab cabextract libmspack-dev
    xvfb xauth imagemagick
    osslsigncode openssl
    fonts-wine fonts-ipafont-gothic
)
missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
