#!/usr/bin/env bash
# Prints how long setup.exe takes from OK to its finished state, against a plain copy of the
# same expanded files done by a dialog driven the same way, and the ratio of the medians.
# Figures only, not a test.
#
#   bash tools/bench/install-bench.sh [REPETITIONS]     (default 7)
#
# Runs the 64-bit build (dist/win64/setup.exe; built first if missing) under Wine on a
# virtual display, in a fresh prefix in build/bench-prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TSY_BUILD_DIR:-$root/build}
repetitions=${1:-7}
case $repetitions in
'' | *[!0-9]*) echo "usage: $0 [REPETITIONS]" >&2; exit 2 ;;
esac

setup_exe=$root/dist/win64/setup.exe
[ -f "$setup_exe" ] || bash "$root/tools/build.sh"

bench=$build/bench
mkdir -p "$bench"
cxx="x86_64-w64-mingw32-g++ -O2 -std=c++17 -Wall -Wextra -Werror -static -I$root"
x86_64-w64-mingw32-windres "$root/tools/bench/install/CopyDialog.rc" -O coff -o "$bench/CopyDialog.res"
$cxx -mwindows -o "$bench/copydialog.exe" "$root/tools/bench/install/CopyDialog.cpp" "$bench/CopyDialog.res"
$cxx -o "$bench/installbench.exe" "$root/tools/bench/install/InstallBench.cpp" \
    "$root/tests/driver/UiDriver.cpp" -luser32 -lgdi32 -ladvapi32 -lole32 -luuid

. "$root/tests/wine/env.sh"
template=$build/wine-template
prefix=$build/bench-prefix

cleanup() {
    WINEPREFIX=$prefix "$TSY_WINESERVER" -k 2>/dev/null || true
    if [ -n "${TSY_XVFB_PID:-}" ]; then
        kill "$TSY_XVFB_PID" 2>/dev/null || true
        wait "$TSY_XVFB_PID" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

tsy_wine_start_display
tsy_wine_make_template "$template"
rm -rf "$prefix"
cp -a "$template" "$prefix"
rm -f "$prefix/.tsy-template"
export WINEPREFIX=$prefix

# The baseline reads the expanded files from drive C:, where both programs write.
mkdir -p "$prefix/drive_c/bench-src"
cp "$root"/product/{TSY.exe,TSY.hlp,TSY.cnt,Uninstall.exe} "$prefix/drive_c/bench-src/"

winepath_of() {
    printf 'Z:%s' "$1" | tr / '\\'
}

echo "setup: $setup_exe ($(stat -c %s "$setup_exe") bytes), $repetitions runs each"
status=0
"$TSY_WINE" "$bench/installbench.exe" "$(winepath_of "$setup_exe")" "$(winepath_of "$bench/copydialog.exe")" \
    'C:\bench-src' "$repetitions" </dev/null >"$bench/result.txt" 2>&1 || status=$?
tr -d '\r' <"$bench/result.txt"
exit $status
