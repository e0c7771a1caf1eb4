#!/usr/bin/env bash
# Benchmark, not a test: the backup measurement's walk over 10,000 files in 100 folders under wine64, three
# rounds on a warm prefix. Prints counts, bytes and times.
# Usage: scripts/bench-backup.sh   (builds the win64 tree first)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/build.sh" win64 >/dev/null
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all
/usr/lib/wine/wineserver -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/scripts/wine-run.sh" "$BUILD/win64/win_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='BackupSource.DISABLED_MeasuringSpeedOnManyFiles' | grep '^=='
