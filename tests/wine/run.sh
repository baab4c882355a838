#!/bin/sh
# Runs one Windows program under Wine in a fresh copy of the template prefix, so every test
# starts from the same clean registry and disk. Used as the ctest emulator.
#
#   TSY_WINE_TEMPLATE=/path/to/template run.sh prog.exe [args...]
#
# Each run also gets its own Xvfb, so tests running side by side cannot take each other's
# focus or cover each other's windows; TSY_WINE_SHARED_DISPLAY=1 uses $DISPLAY instead.
# TSY_KEEP_PREFIX=1 keeps the prefix (its path is printed) for a look after a failure.
set -u
. "$(dirname "$0")/env.sh"

template=${TSY_WINE_TEMPLATE:?TSY_WINE_TEMPLATE must name the template prefix (tests/wine/env.sh)}
if [ ! -f "$template/.tsy-template" ]; then
    echo "run.sh: $template is not a finished template prefix" >&2
    exit 125
fi

# Prefixes live beside the template so tsy_wine_cleanup finds those of killed tests,
# and with them the PID of their Xvfb.
mkdir -p "$template.runs"
prefix=$(mktemp -d "$template.runs/p.XXXXXX") || exit 125
out="$prefix.out"
export WINEPREFIX="$prefix"
own_xvfb=

finish() {
    /usr/lib/wine/wineserver -k 2>/dev/null
    /usr/lib/wine/wineserver -w 2>/dev/null
    if [ -n "$own_xvfb" ]; then
        kill "$own_xvfb" 2>/dev/null
        wait "$own_xvfb" 2>/dev/null
        rm -f "$prefix.xvfb"
    fi
    if [ -f "$out" ]; then
        cat "$out"
    fi
    if [ -n "${TSY_KEEP_PREFIX:-}" ]; then
        echo "run.sh: prefix kept in $prefix"
    else
        rm -rf "$prefix" "$out"
    fi
}
trap 'finish; exit 130' INT TERM HUP

if [ -n "${TSY_WINE_SHARED_DISPLAY:-}" ]; then
    : "${DISPLAY:?DISPLAY must name the Xvfb display (tests/wine/env.sh)}"
else
    tsy_wine_start_display || { finish; exit 125; }
    own_xvfb=$TSY_XVFB_PID
    echo "$own_xvfb" >"$prefix.xvfb"
fi

cp -a "$template/." "$prefix/" || { finish; exit 125; }

# No inherited pipes: a Wine process may hold them open for as long as it lives.
/usr/lib/wine/wine64 "$@" </dev/null >"$out" 2>&1
rc=$?
trap - INT TERM HUP
finish
exit $rc
