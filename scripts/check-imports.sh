#!/usr/bin/env bash
# Checks the imports of every program of the Windows trees (the shipped 32-bit launchers, the 64-bit
# twins, the test launchers and test programs): each address table entry that the code calls through is
# bound (a delay-loaded one to its loading thunk), and each imported function is exported by its DLL.
# Wine's own PE DLLs of the program's bitness are the reference; where they are missing (Wine's 32-bit
# side is only installed where the kernel runs 32-bit programs) mingw-w64's import libraries are.
# Needs no Windows run, so it holds on every machine.
# Usage: scripts/check-imports.sh [tree...]    (default: win32 win64)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(win32 win64)
status=0
for tree in "${trees[@]}"; do
    case "$tree" in
        win32) triple=i686-w64-mingw32 wine_dlls=/usr/lib/i386-linux-gnu/wine/i386-windows ;;
        win64) triple=x86_64-w64-mingw32 wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows ;;
        *) echo "unknown tree: $tree" >&2; exit 2 ;;
    esac
    programs=("$BUILD/$tree"/*.exe)
    [ -e "${programs[0]}" ] || { echo "$tree: nothing built" >&2; exit 2; }
    reference=(--implibs "/usr/$triple/lib" --nm "$triple-nm")
    [ -d "$wine_dlls" ] && reference=(--dlls "$wine_dlls" "${reference[@]}")
    python3 "$ROOT/tools/pecheck/importcheck.py" "${reference[@]}" "${programs[@]}" |
        sed "s|$BUILD/||" || status=1
done
exit $status
