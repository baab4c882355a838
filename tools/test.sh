#!/usr/bin/env bash
# Builds everything, then runs every test: the host suite (codec, packer,
# resources of both builds) and the Windows suite under Wine on a virtual display.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TSY_BUILD_DIR:-$root/build}

bash "$root/tools/build.sh" || exit 1

. "$root/tests/wine/env.sh"

# A tiny file system for the full-disk cases, where this machine lets root mount one.
tinyfs="$build/tinyfs"
mounted=
cleanup() {
    tsy_wine_cleanup
    [ -z "$mounted" ] || umount "$tinyfs" 2>/dev/null
}
trap cleanup EXIT
mkdir -p "$tinyfs"
if mount -t tmpfs -o size=64k tmpfs "$tinyfs" 2>/dev/null; then
    mounted=1
    export TSY_FULL_DISK_DIR="Z:${tinyfs//\//\\}"
else
    echo "no tiny file system here: the full-disk cases will be skipped"
fi

tsy_wine_setup "$build/wine-template" || { echo "cannot set up Wine" >&2; exit 1; }

status=0
summary=()
for suite in host win64; do
    log="$build/ctest-$suite.log"
    ctest --test-dir "$build/$suite" --output-on-failure -j2 --timeout 300 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    summary+=("$(grep -E 'tests passed, [0-9]+ tests failed' "$log" | tail -n 1)")
done

passed=0
failed=0
for line in "${summary[@]}"; do
    total=$(sed -n 's/.*out of \([0-9]*\).*/\1/p' <<<"$line")
    bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed.*/\1/p' <<<"$line")
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
done
[ "$failed" -eq 0 ] || status=1
echo "tests: $passed passed, $failed failed"
exit $status
