#!/bin/sh
# end-prefix.sh DIR: ends the Wine server of the prefix in DIR, if any runs.
WINEPREFIX="$1" /usr/lib/wine/wineserver -k 2>/dev/null
exit 0
