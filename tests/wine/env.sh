# Sourced by test scripts: one Xvfb display and one ready-made Wine prefix that every
# test copies (tests/wine/run.sh), so a test never pays for wineboot.
#
#   . tests/wine/env.sh
#   tsy_wine_setup /tmp/tsy-template     # Xvfb + template; exports DISPLAY, TSY_WINE_TEMPLATE
#   trap tsy_wine_cleanup EXIT
#
# tsy_wine_start_display, tsy_wine_make_template DIR and tsy_wine_cleanup can be used alone.

TSY_WINE=/usr/lib/wine/wine64
TSY_WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"

# Starts Xvfb on a free display number; exports DISPLAY and remembers the PID for cleanup.
tsy_wine_start_display() {
    _tsy_fifo=$(mktemp -u "${TMPDIR:-/tmp}/tsy-xvfb.XXXXXX")
    mkfifo "$_tsy_fifo" || return 1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$_tsy_fifo" >/dev/null 2>&1 &
    TSY_XVFB_PID=$!
    # -displayfd writes the chosen number once the server accepts clients.
    read -r _tsy_display <"$_tsy_fifo"
    rm -f "$_tsy_fifo"
    if [ -z "$_tsy_display" ]; then
        echo "env.sh: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$_tsy_display"
    export TSY_XVFB_PID
}

# Builds the template prefix in DIR once; a finished template (marker file) is reused.
tsy_wine_make_template() {
    _tsy_dir=$1
    if [ -f "$_tsy_dir/.tsy-template" ]; then
        return 0
    fi
    rm -rf "$_tsy_dir"
    mkdir -p "$_tsy_dir" || return 1
    WINEPREFIX=$_tsy_dir "$TSY_WINE" wineboot -i </dev/null >"$_tsy_dir.log" 2>&1
    WINEPREFIX=$_tsy_dir "$TSY_WINESERVER" -w

    _tsy_profile="$_tsy_dir/drive_c/users/$(id -un)"
    # A new prefix links the profile folders into $HOME; tests must write only inside the prefix.
    for _tsy_f in Desktop Documents Downloads Music Pictures Videos Templates; do
        if [ -L "$_tsy_profile/$_tsy_f" ]; then
            rm -f "$_tsy_profile/$_tsy_f"
        fi
        mkdir -p "$_tsy_profile/$_tsy_f"
    done
    _tsy_programs="$_tsy_profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    mkdir -p "$_tsy_programs"

    _tsy_win_profile="C:\\\\users\\\\$(id -un)"
    _tsy_win_programs="$_tsy_win_profile\\\\AppData\\\\Roaming\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs"
    # Wine rewrites "Shell Folders" from "User Shell Folders" at start-up: set both.
    cat >"$_tsy_dir/drive_c/tsy-template.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]
"winemenubuilder.exe"=""

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]
"Desktop"="$_tsy_win_profile\\\\Desktop"
"Programs"="$_tsy_win_programs"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]
"Desktop"="$_tsy_win_profile\\\\Desktop"
"Programs"="$_tsy_win_programs"
REG
    WINEPREFIX=$_tsy_dir "$TSY_WINE" regedit /S 'C:\tsy-template.reg' </dev/null >>"$_tsy_dir.log" 2>&1
    rm -f "$_tsy_dir/drive_c/tsy-template.reg"
    WINEPREFIX=$_tsy_dir "$TSY_WINESERVER" -w
    : >"$_tsy_dir/.tsy-template"
}

tsy_wine_setup() {
    tsy_wine_start_display || return 1
    tsy_wine_make_template "$1" || return 1
    export TSY_WINE_TEMPLATE=$1
}

# Ends what we started: our Xvfb by PID, the servers of our template and of any test prefix
# and Xvfbs left behind by tests that were killed (run.sh keeps them beside the template).
tsy_wine_cleanup() {
    if [ -n "${TSY_WINE_TEMPLATE:-}" ]; then
        for _tsy_p in "$TSY_WINE_TEMPLATE" "$TSY_WINE_TEMPLATE".runs/*/; do
            [ -d "$_tsy_p" ] || continue
            WINEPREFIX=${_tsy_p%/} "$TSY_WINESERVER" -k 2>/dev/null
        done
        for _tsy_p in "$TSY_WINE_TEMPLATE".runs/*.xvfb; do
            [ -f "$_tsy_p" ] && kill "$(cat "$_tsy_p")" 2>/dev/null
        done
        rm -rf "$TSY_WINE_TEMPLATE".runs
    fi
    if [ -n "${TSY_XVFB_PID:-}" ]; then
        kill "$TSY_XVFB_PID" 2>/dev/null
        wait "$TSY_XVFB_PID" 2>/dev/null
        TSY_XVFB_PID=
    fi
}
