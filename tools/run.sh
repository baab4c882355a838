#!/usr/bin/env bash
# Builds setup.exe and runs it once under Wine, as a user would: shows the dialog, presses OK,
# closes it, then prints what was installed.
#
#   bash tools/run.sh [--display] [--no-build]
#
#   --display   use the display in $DISPLAY instead of a virtual one (Xvfb)
#   --no-build  run what dist/ already holds
#
# The 64-bit build runs (dist/win64/setup.exe); the 32-bit product cannot run on a 64-bit-only
# Wine. Each run starts from a fresh prefix in build/run-prefix. Screenshots of the dialog
# before OK and after it go to dist/screenshots/dialog.png and finished.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TSY_BUILD_DIR:-$root/build}

use_display=
do_build=1
for arg in "$@"; do
    case $arg in
    --display) use_display=1 ;;
    --no-build) do_build= ;;
    *) sed -n '2,12s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
    esac
done
if [ -n "$use_display" ] && [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: --display needs DISPLAY to be set" >&2
    exit 2
fi

if [ -n "$do_build" ]; then
    bash "$root/tools/build.sh"
fi
setup_exe=$root/dist/win64/setup.exe
driver_exe=$build/win64/tsydriver.exe
for f in "$setup_exe" "$driver_exe"; do
    [ -f "$f" ] || { echo "run.sh: $f is missing; run without --no-build" >&2; exit 1; }
done

. "$root/tests/wine/env.sh"
template=$build/wine-template
prefix=$build/run-prefix
shots=$root/dist/screenshots
work=$(mktemp -d "${TMPDIR:-/tmp}/tsy-run.XXXXXX")
driver_pid=

cleanup() {
    if [ -n "$driver_pid" ]; then
        kill "$driver_pid" 2>/dev/null || true
    fi
    WINEPREFIX=$prefix "$TSY_WINESERVER" -k 2>/dev/null || true
    if [ -n "${TSY_XVFB_PID:-}" ]; then
        kill "$TSY_XVFB_PID" 2>/dev/null || true
        wait "$TSY_XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

if [ -z "$use_display" ]; then
    tsy_wine_start_display
fi
echo "Preparing a fresh Wine prefix in $prefix"
tsy_wine_make_template "$template"
rm -rf "$prefix"
cp -a "$template" "$prefix"
rm -f "$prefix/.tsy-template"
export WINEPREFIX=$prefix
drive_c=$prefix/drive_c

# Wine sees the Unix file system as drive Z:.
winepath_of() {
    printf 'Z:%s' "$1" | tr / '\\'
}

# Waits until the driver signals a file in drive C:, or fails when the driver has given up.
wait_signal() {
    local i
    for i in $(seq 1 1200); do
        [ -f "$drive_c/$1" ] && return 0
        if ! kill -0 "$driver_pid" 2>/dev/null; then
            echo "run.sh: the driver ended early:" >&2
            cat "$work/driver.out" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "run.sh: timed out waiting for $1" >&2
    exit 1
}

# The dialog's screen rectangle from the last dump, as an ImageMagick geometry.
dialog_geometry() {
    grep '^dialog.rect=' "$work/driver.out" | tail -n 1 | tr -d '\r' | cut -d= -f2 |
        awk -F, '{ printf "%dx%d+%d+%d", $3 - $1, $4 - $2, $1, $2 }'
}

screenshot() {
    mkdir -p "$shots"
    sh "$root/tests/wine/screenshot.sh" "$work/screen.png"
    convert "$work/screen.png" -crop "$(dialog_geometry)" +repage "$shots/$1"
    echo "Screenshot: dist/screenshots/$1"
}

echo "Starting setup.exe"
# The driver starts setup, signals each state through a file and waits for the screenshot.
"$TSY_WINE" "$driver_exe" "$(winepath_of "$setup_exe")" \
    wait-dialog dump signal 'C:\tsy-dialog-up' wait-file 'C:\tsy-dialog-shot' \
    click ok sleep 300 wait-idle dump signal 'C:\tsy-finished-up' wait-file 'C:\tsy-finished-shot' \
    click cancel wait-exit \
    </dev/null >"$work/driver.out" 2>&1 &
driver_pid=$!

wait_signal tsy-dialog-up
screenshot dialog.png
: >"$drive_c/tsy-dialog-shot"
echo "Pressed OK"
wait_signal tsy-finished-up
screenshot finished.png
: >"$drive_c/tsy-finished-shot"
if ! wait "$driver_pid"; then
    driver_pid=
    echo "run.sh: the driver failed:" >&2
    cat "$work/driver.out" >&2
    exit 1
fi
driver_pid=
rm -f "$drive_c"/tsy-*-up "$drive_c"/tsy-*-shot
status=$(grep '^item.1002.text=' "$work/driver.out" | tail -n 1 | cut -d= -f2- | tr -d '\r')
echo "Status after OK: $status"
"$TSY_WINESERVER" -w

echo
echo "Installed files (modification times in ${TZ:-the local time zone}):"
install_dir="$drive_c/Program Files/Tessaly"
if [ -d "$install_dir" ]; then
    (cd "$install_dir" && stat -c '  %-14n %8s bytes  %y' -- *)
else
    echo "  none: $install_dir does not exist"
fi

echo
echo "Shortcuts:"
user_dir="$drive_c/users/$(id -un)"
for link in "$user_dir/Desktop/TSY.lnk" \
            "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/TSY.lnk"; do
    echo "  ${link#"$drive_c"/}"
    if [ ! -f "$link" ]; then
        echo "    missing"
        continue
    fi
    lnkinfo "$link" | grep -E '^\s+(Local path|Description)\s' | sed 's/^\s*/    /; s/\t\+/ /g'
done

echo
echo "Registry:"
for key in 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\TSY.exe' \
           'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly Text v2.0'; do
    if "$TSY_WINE" reg query "$key" </dev/null >"$work/reg.out" 2>&1; then
        tr -d '\r' <"$work/reg.out" | sed '/^$/d; s/^/  /'
    else
        echo "  $key: missing"
    fi
done
