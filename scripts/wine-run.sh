#!/usr/bin/env bash
# Runs a Windows program under wine64 in the build tree's private prefix.
# Used by CMake as the cross-compiling emulator, so ctest runs Windows tests like native ones.
set -eu
WINE64=${WINE64:-/usr/lib/wine/wine64}
: "${WINEPREFIX:=${LAUNCHER_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$WINE64" wineboot -i >/dev/null 2>&1 || true
            WINE64="$WINE64" bash "$(dirname "$0")/wine-fonts.sh" || true
            "${WINESERVER:-/usr/lib/wine/wineserver}" -w 2>/dev/null || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$WINE64" "$@"
