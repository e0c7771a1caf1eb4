#!/usr/bin/env bash
# Runs the parsers' fuzzers (libFuzzer with ASan and UBSan) from their committed seed corpora in
# tests/fuzz/corpus/<fuzzer>. Builds them first (scripts/build.sh fuzz).
#
# Usage: scripts/fuzz.sh [--runs N | --time SECONDS] [fuzzer ...]
#   --runs N        each fuzzer executes N inputs (default 30000), from a fresh work corpus; what the
#                   test command runs
#   --time SECONDS  each fuzzer runs that long, growing a work corpus kept in $BUILD/fuzz/corpus/<fuzzer>
#                   between runs (e.g. --time 600 for a long run)
#   fuzzer          IniFileFuzzer, XmlIniFileFuzzer, JsonFuzzer, CommandLineFuzzer, PayloadHashesFuzzer
#                   (default: all)
#
# A crash, a time-out (10 s per input) or memory beyond 2 GB stops the run with a reproducer in
# $BUILD/fuzz/artifacts/. Once the fault is fixed, add that file to the fuzzer's seed corpus.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
ALL=(IniFileFuzzer XmlIniFileFuzzer JsonFuzzer CommandLineFuzzer PayloadHashesFuzzer)

mode=(-runs=30000 -seed=1 -max_total_time=60)
keep=false
fuzzers=()
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) mode=(-runs="$2" -seed=1); shift 2 ;;
        --time) mode=(-max_total_time="$2"); keep=true; shift 2 ;;
        -*) echo "unknown option: $1" >&2; exit 2 ;;
        *) fuzzers+=("$1"); shift ;;
    esac
done
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=("${ALL[@]}")

"$ROOT/scripts/build.sh" fuzz >/dev/null
mkdir -p "$BUILD/fuzz/artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for fuzzer in "${fuzzers[@]}"; do
    if $keep; then work="$BUILD/fuzz/corpus/$fuzzer"; else work="$scratch/$fuzzer"; fi
    mkdir -p "$work"
    log="$scratch/$fuzzer.log"
    start=$(date +%s)
    # The work corpus comes first: libFuzzer adds new inputs there, never to the committed seeds.
    if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$BUILD/fuzz/$fuzzer" "$work" \
        "$ROOT/tests/fuzz/corpus/$fuzzer" -dict="$ROOT/tests/fuzz/$fuzzer.dict" -max_len=4096 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz/artifacts/$fuzzer-" \
        "${mode[@]}" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "== $fuzzer FAILED; reproducer in $BUILD/fuzz/artifacts/" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "== $fuzzer: ${runs:-?} inputs in $(( $(date +%s) - start )) s, no finding"
done
