#!/usr/bin/env bash
# The main job: builds both launchers and the demo launcher (the test product line's main server,
# companion server and a further sub-package, in five languages), runs the demo's 64-bit twin under
# wine64 with a verbose log, then prints the decoded log, what Windows Installer then reports installed,
# and exits with the launcher's exit code. Extra arguments go to the launcher (default: /qn).
#
#   bash scripts/demo.sh [launcher arguments]          install (or whatever the arguments ask for)
#   bash scripts/demo.sh remove [launcher arguments]   removes the product line again through the main
#                                                      product's installed-programs entry ("UninstallString")
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
MAIN_PRODUCT_CODE="{1EA0D64A-7B20-4179-9BF7-2A9FD31AE894}" # the demo's main package (tests/bundles/demo.bundle)
mode=install
if [ "${1:-}" = remove ]; then
    mode=remove
    shift
fi
"$ROOT/scripts/setup-debian.sh"
"$ROOT/scripts/build.sh" win64 win32
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
LOG="$BUILD/demo-setup.log"
rm -f "$LOG"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(/qn)
WINLOG="Z:${LOG//\//\\}"
# A wineserver left from an earlier run keeps the display of an X server that is gone; windows the
# launcher then creates fail. Let it finish so this run starts one on its own display.
"${WINESERVER:-/usr/lib/wine/wineserver}" -w 2>/dev/null || true
set +e
if [ "$mode" = remove ]; then
    xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/scripts/wine-run.sh" "$BUILD/win64/InstalledProducts.exe" \
        run-uninstall "$MAIN_PRODUCT_CODE" "${args[@]}" /L*v "$WINLOG"
else
    xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/scripts/wine-run.sh" "$BUILD/win64/QuenlisDemoSetup.exe" \
        "${args[@]}" /L*v "$WINLOG"
fi
code=$?
set -e
echo "Exit code: $code"
echo "Log ($LOG):"
# The launcher writes UTF-16LE; Windows Installer appends its own log to the same file in 8-bit text.
[ -f "$LOG" ] && python3 "$ROOT/scripts/decode-log.py" "$LOG"
echo "Installed products, as Windows Installer reports them:"
"$ROOT/scripts/wine-run.sh" "$BUILD/win64/InstalledProducts.exe" list | tr -d '\r'
echo "Launchers: $BUILD/win32/SetupLauncher.exe (shipped, 32-bit), $BUILD/win64/SetupLauncher.exe (64-bit twin)"
echo "Demo launchers: $BUILD/win32/QuenlisDemoSetup.exe ($(stat -c %s "$BUILD/win32/QuenlisDemoSetup.exe") bytes)," \
     "$BUILD/win64/QuenlisDemoSetup.exe ($(stat -c %s "$BUILD/win64/QuenlisDemoSetup.exe") bytes)"
exit "$code"
