#!/bin/sh
# Recreates the stand-in product files in product/ byte for byte. The build
# packs whatever is in product/; run this only to remake the stand-ins.
# Needs a host C compiler (cc) and i686-w64-mingw32-gcc.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
product=$(dirname "$here")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cc -O2 -o "$work/filler" "$here/filler.c"

# pad_to FILE SIZE MODE SEED: appends filler until FILE is SIZE bytes long.
pad_to() {
    have=$(wc -c < "$1")
    if [ "$have" -gt "$2" ]; then
        echo "make-standins: $1 is already $have bytes, more than $2" >&2
        exit 1
    fi
    "$work/filler" "$3" "$4" $(($2 - have)) >> "$1"
}

# A real small 32-bit program that shows what it is, with filler after its image.
make_exe() {
    name=$1 text=$2 size=$3 seed=$4
    cp "$here/standin.c" "$work/standin.c"
    (cd "$work" && i686-w64-mingw32-gcc -Os -s -mwindows -Wl,--no-insert-timestamp \
        "-DSTANDIN_TEXT=\"$text\"" -o "$name" standin.c)
    pad_to "$work/$name" "$size" code "$seed"
    mv "$work/$name" "$product/$name"
}

make_exe TSY.exe "Tessaly stand-in" 737280 1
make_exe Uninstall.exe "Tessaly Uninstall stand-in" 152576 3

printf 'Tessaly help stand-in\r\nThis file stands in for the real help file until it is delivered.\r\n\r\n' > "$work/TSY.hlp"
pad_to "$work/TSY.hlp" 42223 help 2
mv "$work/TSY.hlp" "$product/TSY.hlp"

printf ':Base TSY.hlp>main\r\n:Title Tessaly Help (stand-in)\r\n1 Tessaly\r\n2 Getting started=start\r\n2 Writing with Tessaly=writing\r\n2 Files and folders=files\r\n1 Reference\r\n2 Menus=menus\r\n2 Keyboard shortcuts=keys\r\n2 Removing Tessaly=uninstall\r\n' > "$work/TSY.cnt"
have=$(wc -c < "$work/TSY.cnt")
# A comment line brings the contents file to its shipped size.
printf ';%-*s\r\n' $((268 - have - 3)) ' stand-in contents file' >> "$work/TSY.cnt"
mv "$work/TSY.cnt" "$product/TSY.cnt"

wc -c "$product/TSY.exe" "$product/TSY.hlp" "$product/TSY.cnt" "$product/Uninstall.exe"
