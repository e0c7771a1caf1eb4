#!/usr/bin/env bash
# Benchmark, not a test: the launcher's size and its `/?` from start to exit beside a static hello-world
# program, both under the same warm wine64 (the 64-bit twin stands for the shipped 32-bit launcher, which
# wine64 alone cannot run). Prints sizes, mean times over ten runs and their ratio.
# Usage: scripts/bench-startup.sh   (builds the win64 and win32 trees first)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/build.sh" win64 win32 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '#include <stdio.h>\nint main(void) { puts("hello"); return 0; }\n' >"$work/hello.c"
x86_64-w64-mingw32-gcc -O2 -static -o "$work/hello.exe" "$work/hello.c"
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
"$ROOT/scripts/wine-run.sh" "$work/hello.exe" >/dev/null 2>&1 # warm the prefix and its server
mean_ms() {
    local total=0
    for _ in $(seq 10); do
        local start end
        start=$(date +%s%N)
        "$ROOT/scripts/wine-run.sh" "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        total=$((total + (end - start) / 1000000))
    done
    echo $((total / 10))
}
hello=$(mean_ms "$work/hello.exe")
launcher=$(mean_ms "$BUILD/win64/SetupLauncher.exe" /?)
echo "== shipped launcher (32-bit): $(stat -c %s "$BUILD/win32/SetupLauncher.exe") bytes;" \
     "64-bit twin $(stat -c %s "$BUILD/win64/SetupLauncher.exe") bytes"
echo "== hello-world: ${hello} ms; launcher /?: ${launcher} ms; ratio $(awk -v a="$launcher" -v b="$hello" 'BEGIN { printf "%.2f", a / b }')"
