#!/bin/sh
# make-prefix.sh DIR: creates a fresh Wine prefix in DIR for the LZ32 oracle.
set -eu
rm -rf "$1"
mkdir -p "$1"
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
/usr/lib/wine/wine64 wineboot --init > "$1.log" 2>&1 < /dev/null
/usr/lib/wine/wineserver -w
