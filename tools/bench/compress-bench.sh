#!/bin/sh
# compress-bench.sh TSYPACK [PE_DIR]
# Compresses a fixed corpus of real PE files (Wine's own DLLs and EXEs) with
# `TSYPACK compress` and with mscompress in the same run, checks that msexpand
# gives every input back from our output, and prints total sizes, times and
# the ratios ours/mscompress (size) and mscompress/ours (speed).
# Build tsypack optimised (-DCMAKE_BUILD_TYPE=Release) before measuring.
set -eu

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: compress-bench.sh TSYPACK [PE_DIR]" >&2
    exit 2
fi
tsypack=$1
pe_dir=${2:-/usr/lib/x86_64-linux-gnu/wine/x86_64-windows}
for tool in mscompress msexpand; do
    command -v $tool > /dev/null || { echo "compress-bench: $tool is not installed" >&2; exit 2; }
done

# 38 files from 60 KB to 2.2 MB, about 19 MB in all.
corpus="vga.dll dhcpcsvc6.dll feclient.dll cfgmgr32.dll d3dx10_41.dll slbcsp.dll dciman32.dll
presentationfontcache.exe mswsock.dll sdbinst.exe avrt.dll dpnsvr.exe sppc.dll mprapi.dll query.dll
x3daudio1_4.dll nddeapi.dll netstat.exe taskkill.exe regsvr32.exe packager.dll imagehlp.dll
wmiutils.dll mciavi32.dll progman.exe uiribbon.dll wscript.exe reg.exe windows.media.speech.dll
dmband.dll atl100.dll mfmediaengine.dll d3dcompiler_36.dll taskmgr.exe winhttp.dll shlwapi.dll
xactengine3_5.dll vbscript.dll"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/ms" "$work/ours"
count=0
for name in $corpus; do
    if [ -f "$pe_dir/$name" ]; then
        cp "$pe_dir/$name" "$work/ms/$name"
        count=$((count + 1))
    else
        echo "compress-bench: $name not found in $pe_dir, left out" >&2
    fi
done
[ "$count" -gt 0 ] || { echo "compress-bench: no corpus files in $pe_dir" >&2; exit 1; }

now() { date +%s.%N; }

start=$(now)
for f in "$work"/ms/*; do
    mscompress "$f"
done
ms_time=$(echo "$(now) - $start" | bc -l)

start=$(now)
for f in "$work"/ms/*[!_]; do
    "$tsypack" compress "$f" "$work/ours/$(basename "$f")_"
done
our_time=$(echo "$(now) - $start" | bc -l)

for f in "$work"/ms/*[!_]; do
    msexpand < "$work/ours/$(basename "$f")_" | cmp -s - "$f" || { echo "compress-bench: msexpand does not give back $f" >&2; exit 1; }
done

input=$(cat "$work"/ms/*[!_] | wc -c)
ms_size=$(cat "$work"/ms/*_ | wc -c)
our_size=$(cat "$work"/ours/*_ | wc -c)
printf 'files              %d (%d bytes)\n' "$count" "$input"
printf 'mscompress         %d bytes  %.3f s\n' "$ms_size" "$ms_time"
printf 'tsypack compress   %d bytes  %.3f s\n' "$our_size" "$our_time"
printf 'size ratio (ours/mscompress)   %.4f   goal <= 0.96\n' "$(echo "$our_size / $ms_size" | bc -l)"
printf 'speed ratio (mscompress/ours)  %.1f    goal >= 10\n' "$(echo "$ms_time / $our_time" | bc -l)"
