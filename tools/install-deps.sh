#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root).
set -euo pipefail
packages=(
    cmake make g++ python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine64 xvfb x11-apps imagemagick
    libmspack-dev mscompress liblnk-utils
    clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
