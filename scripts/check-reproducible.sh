#!/usr/bin/env bash
# Builds the shipped 32-bit launchers a second time, from a copy of the sources in another folder into
# another build folder, and compares them byte for byte with those of the regular build (build/win32,
# which must be built): the same sources and bundle descriptions must give the same .exe files wherever
# and whenever they are built. libcurl is built again too; only its downloaded source is reused.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
LAUNCHERS=(SetupLauncher.exe QuenlisDemoSetup.exe)
for launcher in "${LAUNCHERS[@]}"; do
    [ -f "$BUILD/win32/$launcher" ] || { echo "build the win32 tree first (scripts/build.sh win32)" >&2; exit 2; }
done
started=$(date +%s)
elsewhere=$(mktemp -d /tmp/launcher-again.XXXXXX)
mkdir -p "$elsewhere/sources/checkout" "$elsewhere/out"
# The files a clone has, as they are in the working tree.
(cd "$ROOT" && git ls-files -z | xargs -0 cp --parents -t "$elsewhere/sources/checkout")
[ -d "$BUILD/curl-source" ] && cp -a "$BUILD/curl-source" "$elsewhere/out/curl-source"
BUILD_DIR="$elsewhere/out" bash "$elsewhere/sources/checkout/scripts/build.sh" win32 >"$elsewhere/build.log" 2>&1 ||
    { tail -30 "$elsewhere/build.log" >&2; exit 1; }
status=0
for launcher in "${LAUNCHERS[@]}"; do
    first="$BUILD/win32/$launcher"
    second="$elsewhere/out/win32/$launcher"
    if cmp -s "$first" "$second"; then
        echo "$launcher: identical ($(stat -c %s "$first") bytes, sha256 $(sha256sum "$first" | cut -c1-16)...)"
    else
        echo "$launcher: the second build differs in $(cmp -l "$first" "$second" 2>/dev/null | wc -l) bytes" >&2
        status=1
    fi
done
echo "Second build in $(($(date +%s) - started)) s"
if [ $status -eq 0 ]; then
    rm -rf "$elsewhere"
else
    echo "The second build is left in $elsewhere for a look" >&2
fi
exit $status
