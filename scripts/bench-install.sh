#!/usr/bin/env bash
# Benchmark, not a test: the launcher's silent install and uninstall of the demo line (three packages)
# against plain msiexec /i ... /qn and msiexec /x ... /qn of the same three databases in a row, on the same
# warm Wine prefix and display. Prints each round's wall times and the medians with their ratio.
# Usage: scripts/bench-install.sh [rounds]   (default 5; builds the win64 tree first)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
ROUNDS=${1:-5}
"$ROOT/scripts/build.sh" win64 >/dev/null
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
PRODUCTS="$BUILD/win64/products"
LAUNCHER="$BUILD/win64/QuenlisDemoSetup.exe"
STEMS=(HalvoraServer101 Kestrum317 ZorvexXMLServer2024)

# One display and one running Wine server for every measurement, so that neither start-up is measured.
Xvfb :97 -screen 0 1024x768x24 >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null || true; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
export DISPLAY=:97
sleep 1
/usr/lib/wine/wineserver -p
$WINE cmd /c exit 0 >/dev/null 2>&1 || true

winpath() { echo "Z:${1//\//\\}"; }
# Prints the wall time of a command; a failed run is reported on stderr, since its time means nothing.
seconds() {
    local start end code=0
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || code=$?
    end=$(date +%s.%N)
    [ "$code" = 0 ] || echo "warning: '$*' exited with $code" >&2
    awk -v a="$start" -v b="$end" 'BEGIN {printf "%.3f", b - a}'
}
clean() {
    for stem in "${STEMS[@]}"; do $WINE msiexec /x "$(winpath "$PRODUCTS/$stem.msi")" /qn >/dev/null 2>&1 || true; done
    rm -rf "$WINEPREFIX"/drive_c/ProgramData/Quenlis/\{*
}
msi_install() { for stem in "${STEMS[@]}"; do $WINE msiexec /i "$(winpath "$PRODUCTS/$stem.msi")" /qn || return; done; }
msi_remove() { for stem in "${STEMS[@]}"; do $WINE msiexec /x "$(winpath "$PRODUCTS/$stem.msi")" /qn || return; done; }

declare -a li lx mi mx
clean
for round in $(seq 1 "$ROUNDS"); do
    li+=("$(seconds $WINE "$LAUNCHER" /qn)")
    lx+=("$(seconds $WINE "$LAUNCHER" /x /qn)")
    clean
    mi+=("$(seconds msi_install)")
    mx+=("$(seconds msi_remove)")
    clean
    printf 'round %d: launcher install %.2f s, uninstall %.2f s; msiexec install %.2f s, uninstall %.2f s\n' \
        "$round" "${li[-1]}" "${lx[-1]}" "${mi[-1]}" "${mx[-1]}"
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
LI=$(median "${li[@]}"); LX=$(median "${lx[@]}"); MI=$(median "${mi[@]}"); MX=$(median "${mx[@]}")
summary() {
    awk -v what="$1" -v l="$2" -v m="$3" \
        'BEGIN {printf "median %-10s launcher %.2f s, msiexec %.2f s, ratio %.2f, difference %.2f s\n", what, l, m, l / m, l - m}'
}
summary install: "$LI" "$MI"
summary uninstall: "$LX" "$MX"
