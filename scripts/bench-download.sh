#!/usr/bin/env bash
# Benchmark, not a test: a 100 MB file from a loopback HTTP server (Python's http.server), fetched by the
# launcher's download under wine64 and by the native curl program, five rounds each. Prints both rates.
# Usage: scripts/bench-download.sh   (builds the win64 tree first; needs the curl program)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/build.sh" win64 >/dev/null
command -v curl >/dev/null || { echo "the curl program is needed for the comparison" >&2; exit 2; }
served=$(mktemp -d)
trap 'kill $server 2>/dev/null || true; rm -rf "$served"' EXIT
head -c $((100 * 1048576)) /dev/urandom >"$served/bench.bin"
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$served" >/dev/null 2>&1 &
server=$!
sleep 1
url="http://127.0.0.1:$port/bench.bin"
export WINEPREFIX="$BUILD/win64/wineprefix" WINEDEBUG=-all BENCH_DOWNLOAD_URL="$url"
/usr/lib/wine/wineserver -k 2>/dev/null || true
for round in 1 2 3 4 5; do
    "$ROOT/scripts/wine-run.sh" "$BUILD/win64/win_tests.exe" --gtest_also_run_disabled_tests \
        --gtest_filter='DownloadSpeed.DISABLED_TheBenchServersFile' 2>/dev/null | grep '^==' || true
    curl -s -o "$served/native.bin" -w '%{size_download} %{time_total}\n' "$url" |
        awk '{ printf "== native curl: %d bytes in %.2f s, %.1f MB/s\n", $1, $2, $1 / 1048576 / $2 }'
done
