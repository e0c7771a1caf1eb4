#!/usr/bin/env bash
# Runs every test: the check that includes follow the layers, native unit tests (ASan/UBSan), the parsers'
# fuzzers, then the Windows-layer and end-to-end tests of the 64-bit build under wine64 (with a virtual
# display for the windows they open).
# Also builds the shipped 32-bit launcher so that it always compiles, builds it a second time elsewhere to
# check that the build is reproducible, and signs the demo launchers with a throw-away certificate.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
start=$(date +%s)
"$ROOT/scripts/setup-debian.sh"
echo "== Layers"
python3 "$ROOT/scripts/check-layers.py"
"$ROOT/scripts/build.sh" native win64 win32

echo "== Imports: every entry the code calls through is bound, every function exported by its DLL"
"$ROOT/scripts/check-imports.sh"

echo "== Both launchers link libcurl (its version text and the Windows TLS backend are in them)"
for tree in win32 win64; do
    version=$(sed -n 's/^#define LIBCURL_VERSION "\(.*\)"$/\1/p' "$BUILD/$tree/curl/install/include/curl/curlver.h")
    grep -qa "$version" "$BUILD/$tree/SetupLauncher.exe" && grep -qa "Schannel" "$BUILD/$tree/SetupLauncher.exe" ||
        { echo "$tree/SetupLauncher.exe does not carry libcurl $version with Schannel" >&2; exit 1; }
    echo "$tree: libcurl $version"
done

echo "== Release checks: a second build elsewhere is byte-identical; signed launchers verify and still run"
"$ROOT/scripts/check-reproducible.sh"
"$ROOT/scripts/check-signing.sh"

echo "== Native unit tests"
ctest --test-dir "$BUILD/native" --output-on-failure

echo "== Fuzzers (a fixed number of inputs each)"
"$ROOT/scripts/fuzz.sh"

echo "== Windows tests under wine64"
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
"$ROOT/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || true  # creates the prefix once
# A Wine desktop started without a display would serve every later window: end it, so that the tests'
# windows open on the virtual display.
/usr/lib/wine/wineserver -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$BUILD/win64" --output-on-failure
/usr/lib/wine/wineserver -k 2>/dev/null || true

# The wizard's screenshots, as PNG beside the BMP files the tests wrote.
for shot in "$BUILD"/win64/screenshots/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && echo "== Screenshot: ${shot%.bmp}.png"
done

echo "== Launchers: $BUILD/win32/SetupLauncher.exe ($(stat -c %s "$BUILD/win32/SetupLauncher.exe") bytes)," \
     "$BUILD/win64/SetupLauncher.exe ($(stat -c %s "$BUILD/win64/SetupLauncher.exe") bytes)"
echo "== All tests passed in $(( $(date +%s) - start )) s"
