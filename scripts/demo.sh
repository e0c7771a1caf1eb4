#!/usr/bin/env bash
# The main job: builds both launchers and the demo launcher (the test product line's main server,
# companion server and a further sub-package, in five languages), runs the demo's 64-bit twin under
# wine64 with a verbose log, then prints its exit code and the decoded log. Extra arguments go to the
# launcher.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/setup-debian.sh"
"$ROOT/scripts/build.sh" win64 win32
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
LOG="$BUILD/demo-setup.log"
rm -f "$LOG"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(/qn)
set +e
xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/scripts/wine-run.sh" "$BUILD/win64/QuenlisDemoSetup.exe" \
    "${args[@]}" /L*v "Z:${LOG//\//\\}"
code=$?
set -e
echo "Exit code: $code"
echo "Log ($LOG):"
[ -f "$LOG" ] && iconv -f UTF-16LE -t UTF-8 "$LOG" | tr -d '\r'
echo "Launchers: $BUILD/win32/SetupLauncher.exe (shipped, 32-bit), $BUILD/win64/SetupLauncher.exe (64-bit twin)"
echo "Demo launchers: $BUILD/win32/QuenlisDemoSetup.exe ($(stat -c %s "$BUILD/win32/QuenlisDemoSetup.exe") bytes)," \
     "$BUILD/win64/QuenlisDemoSetup.exe ($(stat -c %s "$BUILD/win64/QuenlisDemoSetup.exe") bytes)"
exit 0
