#!/usr/bin/env bash
# Extraction benchmark: a launcher whose package cabinet holds about 270 MB of mixed data (compressible
# text, incompressible files, two thousand tiny files), extracted with /u under wine64, against the Wine
# write floor (the same bytes written to the same names with WriteFile, no decompression) and native
# cabextract and gcab -x on the same data. Prints wall times, MB/s, the ratios and the launcher's peak
# private memory. Not a test: it only reports figures.
# Usage: scripts/bench-extract.sh   (BUILD_DIR as for build.sh; BENCH_DIR for the data, default
#        /tmp/launcher-bench; BENCH_REUSE=1 measures again with the data and programs of the last run)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
WORK=${BENCH_DIR:-/tmp/launcher-bench}
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=${WINEPREFIX:-$WORK/wineprefix} WINEDEBUG=-all

if [ -z "${BENCH_REUSE-}" ]; then
    "$ROOT/scripts/setup-debian.sh"
    mkdir -p "$WORK"
    echo "== Building (the test products, the benchmark launcher, the write floor) and making the data"
    cmake -S "$ROOT" -B "$BUILD/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" >/dev/null
    cmake --build "$BUILD/win64" --target test_products >/dev/null
    python3 "$ROOT/tools/bench/make_bench_data.py" "$WORK" "$BUILD/win64/products/Kestrum317.msi"
    BUILD_DIR=$BUILD "$ROOT/scripts/make-launcher.sh" --win64 "$WORK/bench.bundle" "$WORK/BenchSetup.exe" >/dev/null
    x86_64-w64-mingw32-g++-posix -O2 -static -municode -o "$WORK/WriteFloor.exe" "$ROOT/tools/bench/WriteFloor.cpp"
fi

bytes=$(cd "$WORK" && xargs -d '\n' stat -c %s < files.txt | awk '{s += $1} END {print s}')
files=$(wc -l < "$WORK/files.txt")
cabinet=$(stat -c %s "$WORK/bench.cab")
echo "== Data: $files files, $bytes bytes; cabinet $cabinet bytes"

"$ROOT/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || true # the prefix, once
"$WINESERVER" -p 2>/dev/null || true # one server for every run (or the one already running)
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT

fresh() { rm -rf "$WORK/out" && mkdir -p "$WORK/out"; sync; }
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", b - a}'; }

# The launcher: wall time of /u, and the peak of its private (anonymous) memory, sampled every 20 ms in
# the Wine process that runs it.
fresh
start=$(now)
(cd "$WORK/out" && "$WINE64" "$WORK/BenchSetup.exe" /u >/dev/null) &
job=$!
peak=0
while kill -0 "$job" 2>/dev/null; do
    for pid in $(pgrep -f BenchSetup.exe); do
        anon=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        if [ -n "$anon" ] && [ "$anon" -gt "$peak" ]; then peak=$anon; fi
    done
    sleep 0.02
done
wait "$job" || { echo "the launcher failed"; exit 1; }
launcher=$(seconds "$start" "$(now)")
(cd "$WORK" && diff -rq bench out/bench >/dev/null && cmp -s Kestrum317.msi out/Kestrum317.msi) ||
    { echo "the launcher's files differ from the data"; exit 1; }

# The Wine write floor: the write phase as the program times it, plus the start and end of a Wine process
# (the same program with nothing to write), which the launcher's wall time includes too.
fresh
floor_report=$("$WINE64" "$WORK/WriteFloor.exe" "$WORK" "$WORK/out" "$WORK/files.txt")
floor_write=$(echo "$floor_report" | awk '{print $(NF-1)}')
: > "$WORK/empty.txt"
start=$(now)
"$WINE64" "$WORK/WriteFloor.exe" "$WORK" "$WORK/out" "$WORK/empty.txt" >/dev/null
process=$(seconds "$start" "$(now)")
floor=$(awk -v a="$floor_write" -v b="$process" 'BEGIN {printf "%.3f", a + b}')

fresh
start=$(now)
cabextract -q -d "$WORK/out" "$WORK/bench.cab"
cabextract_time=$(seconds "$start" "$(now)")

fresh
start=$(now)
gcab -x -C "$WORK/out" "$WORK/bench.cab" >/dev/null
gcab_time=$(seconds "$start" "$(now)")
rm -rf "$WORK/out"

rate() { awk -v b="$bytes" -v t="$1" 'BEGIN {printf "%.0f", b / 1048576 / t}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
printf '%-34s %9s %8s\n' "run" "seconds" "MB/s"
printf '%-34s %9s %8s\n' "launcher /u (wine64, wall)" "$launcher" "$(rate "$launcher")"
printf '%-34s %9s %8s\n' "Wine write floor" "$floor" "$(rate "$floor")"
printf '%-34s %9s %8s\n' "  of which writing" "$floor_write" "$(rate "$floor_write")"
printf '%-34s %9s %8s\n' "  of which process start and end" "$process" ""
printf '%-34s %9s %8s\n' "cabextract (native)" "$cabextract_time" "$(rate "$cabextract_time")"
printf '%-34s %9s %8s\n' "gcab -x (native)" "$gcab_time" "$(rate "$gcab_time")"
echo "launcher / Wine write floor:   $(ratio "$launcher" "$floor")"
echo "launcher / native cabextract:  $(ratio "$launcher" "$cabextract_time")"
echo "launcher peak private memory:  $((peak / 1024)) MB (cabinet: $((cabinet / 1048576)) MB)"
