#!/usr/bin/env bash
# Builds the host tools and the payload, then setup.exe for 32-bit Windows
# (the product) and 64-bit Windows (what the tests run under Wine), into dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TSY_BUILD_DIR:-$root/build}
jobs=$(nproc)

bash "$root/tools/install-deps.sh"

cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=Release \
    -DTSY_WIN32_EXE="$build/win32/bin/setup.exe" \
    -DTSY_WIN64_EXE="$build/win64/bin/setup.exe" \
    -DTSY_PAYLOAD_FILE="$build/host/payload.bin" >/dev/null
cmake --build "$build/host" -j"$jobs"

for arch in win32:i686:OFF win64:x86_64:ON; do
    IFS=: read -r name cpu tests <<<"$arch"
    cmake -S "$root" -B "$build/$name" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$cpu.cmake" \
        -DTSY_PAYLOAD="$build/host/payload.bin" -DTSY_WINDOWS_TESTS="$tests" >/dev/null
    cmake --build "$build/$name" -j"$jobs"
    mkdir -p "$root/dist/$name"
    cp "$build/$name/bin/setup.exe" "$root/dist/$name/setup.exe"
done
ls -l "$root/dist/win32/setup.exe" "$root/dist/win64/setup.exe"
