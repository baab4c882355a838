#!/bin/sh
# Runs one Windows program under Wine in a fresh copy of the template prefix, so every test
# starts from the same clean registry and disk. Used as the ctest emulator.
#
#   TSY_WINE_TEMPLATE=/path/to/template DISPLAY=:N run.sh prog.exe [args...]
#
# TSY_KEEP_PREFIX=1 keeps the prefix (its path is printed) for a look after a failure.
set -u

template=${TSY_WINE_TEMPLATE:?TSY_WINE_TEMPLATE must name the template prefix (tests/wine/env.sh)}
if [ ! -f "$template/.tsy-template" ]; then
    echo "run.sh: $template is not a finished template prefix" >&2
    exit 125
fi
: "${DISPLAY:?DISPLAY must name the Xvfb display (tests/wine/env.sh)}"

# Prefixes live beside the template so tsy_wine_cleanup finds those of killed tests.
mkdir -p "$template.runs"
prefix=$(mktemp -d "$template.runs/p.XXXXXX") || exit 125
out="$prefix.out"

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"

finish() {
    /usr/lib/wine/wineserver -k 2>/dev/null
    /usr/lib/wine/wineserver -w 2>/dev/null
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

cp -a "$template/." "$prefix/" || { rm -rf "$prefix"; exit 125; }

# No inherited pipes: a Wine process may hold them open for as long as it lives.
/usr/lib/wine/wine64 "$@" </dev/null >"$out" 2>&1
rc=$?
trap - INT TERM HUP
finish
exit $rc
