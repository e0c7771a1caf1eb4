#!/usr/bin/env bash
# Configures and builds the three trees: native (core and its tests, with sanitizers), win64 (the
# twin the tests run under wine64) and win32 (the shipped launcher).
# Usage: scripts/build.sh [native] [win64] [win32] [fuzz]   (default: the first three)
# fuzz: the parsers' libFuzzer targets, a native clang build with ASan and UBSan (run by scripts/fuzz.sh).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native win64 win32)
for target in "${targets[@]}"; do
    case "$target" in
        native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
        win64) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake") ;;
        win32) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake") ;;
        fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                    -DLAUNCHER_FUZZ=ON) ;;
        *) echo "unknown build target: $target" >&2; exit 2 ;;
    esac
    # The Windows trees link libcurl, built once per tree from Debian's source package.
    case "$target" in
        win64) bash "$ROOT/scripts/build-curl.sh" x86_64 "$BUILD/$target" ;;
        win32) bash "$ROOT/scripts/build-curl.sh" i686 "$BUILD/$target" ;;
    esac
    cmake -S "$ROOT" -B "$BUILD/$target" -G Ninja "${args[@]}" >/dev/null
    cmake --build "$BUILD/$target" -j "$(nproc)"
done
