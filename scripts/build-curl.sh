#!/usr/bin/env bash
# Builds libcurl for one mingw-w64 target from Debian's own source package of curl (Debian's patches
# applied), static, HTTP and HTTPS only, with the Windows TLS backend (Schannel) so that certificates are
# checked against the system's store. The source is fetched once from Debian's archive into the build
# folder; each Windows build tree builds it once. Nothing comes from anywhere else.
# Usage: scripts/build-curl.sh <x86_64|i686> <build tree>     (the library lands in <tree>/curl/install)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
arch=$1
tree=$2
triple=$arch-w64-mingw32
SOURCE=$BUILD/curl-source
INSTALL=$tree/curl/install

# A tree's library is rebuilt when the source or this recipe changes.
recipe=$(sha256sum "$0" | cut -c1-16)
if [ -f "$INSTALL/lib/libcurl.a" ] && [ -f "$SOURCE/version" ] &&
    [ "$(cat "$SOURCE/version") $recipe" = "$(cat "$tree/curl/version" 2>/dev/null)" ]; then
    exit 0
fi

# Debian's source package, through apt with a source list and package lists of its own (the machine's
# own apt setup, which may list no sources, stays untouched).
if [ ! -f "$SOURCE/version" ]; then
    started=$(date +%s)
    rm -rf "$SOURCE"
    mkdir -p "$SOURCE/apt/lists/partial" "$SOURCE/apt/cache/archives/partial" "$SOURCE/apt/sources"
    cat >"$SOURCE/apt/sources/debian-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$SOURCE/apt/sources"
                 -o Dir::State::Lists="$SOURCE/apt/lists" -o Dir::Cache="$SOURCE/apt/cache"
                 -o APT::Sandbox::User=root -o Debug::NoLocking=1)
    apt-get "${apt_options[@]}" -qq update
    (cd "$SOURCE" && apt-get "${apt_options[@]}" -qq source --download-only curl >/dev/null)
    dsc=$(ls "$SOURCE"/curl_*.dsc | sort -V | tail -1)
    dpkg-source --no-check -x "$dsc" "$SOURCE/src" >/dev/null
    basename "$dsc" .dsc >"$SOURCE/version"
    echo "curl source $(cat "$SOURCE/version") fetched and unpacked in $(($(date +%s) - started)) s"
fi

started=$(date +%s)
rm -rf "$tree/curl"
mkdir -p "$tree/curl"
options=(
    -G Ninja -DCMAKE_BUILD_TYPE=Release
    # Cross-compiling without the test emulator of the launcher's own toolchain files: curl's checks
    # must not try to run anything.
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$arch"
    -DCMAKE_C_COMPILER="$triple-gcc-posix" -DCMAKE_RC_COMPILER="$triple-windres"
    -DCMAKE_FIND_ROOT_PATH="/usr/$triple" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
    -DCMAKE_INSTALL_PREFIX="$INSTALL"
    -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_CA_PATH=none -DCURL_CA_BUNDLE=none
    -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_NTLM=ON -DENABLE_UNIX_SOCKETS=OFF
    -DCURL_USE_LIBSSH2=OFF -DUSE_LIBIDN2=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF
    -DUSE_NGHTTP2=OFF
    # What one download into one file never uses.
    -DCURL_DISABLE_ALTSVC=ON -DCURL_DISABLE_COOKIES=ON -DCURL_DISABLE_DOH=ON -DCURL_DISABLE_GETOPTIONS=ON
    -DCURL_DISABLE_HSTS=ON -DCURL_DISABLE_MIME=ON -DCURL_DISABLE_NETRC=ON -DCURL_DISABLE_PARSEDATE=ON
    -DCURL_DISABLE_PROGRESS_METER=ON -DCURL_DISABLE_SHUFFLE_DNS=ON
    # Built for size like the launcher (the transfer's time is the network's and Schannel's), every
    # function in a section of its own for the launcher's link to drop, and no build folder in the code.
    -DCMAKE_C_FLAGS_RELEASE="-Os -DNDEBUG -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -ffile-prefix-map=$SOURCE/src=curl"
)
if ! cmake -S "$SOURCE/src" -B "$tree/curl/build" "${options[@]}" >"$tree/curl/configure.log" 2>&1; then
    tail -40 "$tree/curl/configure.log" >&2
    exit 1
fi
if ! cmake --build "$tree/curl/build" -j "$(nproc)" >"$tree/curl/build.log" 2>&1; then
    tail -40 "$tree/curl/build.log" >&2
    exit 1
fi
cmake --install "$tree/curl/build" >/dev/null
echo "$(cat "$SOURCE/version") $recipe" >"$tree/curl/version"
echo "libcurl ($(cat "$SOURCE/version"), $triple, Schannel) built in $(($(date +%s) - started)) s"
