#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the portable core natively, then the plugin
# and its tests as Windows programs: the x86_64 build under 64-bit Wine, and the shipped i686
# build (the tintmark.dll users install) under 32-bit Wine where the machine runs 32-bit
# programs. Ends with one line counting all three: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh || exit 1
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
presets=(native win64 win32)
if ! why=$(tools/can-run-32bit.sh); then
    echo "== win32: SKIPPED, this machine cannot run 32-bit programs: $why"
    presets=(native win64)
elif [ ! -x /usr/lib/wine/wine ]; then
    echo "== win32: SKIPPED, 32-bit Wine (wine32:i386) is not installed; scripts/deps.sh installs it"
    presets=(native win64)
fi
passed=0 failed=0
for preset in "${presets[@]}"; do
    echo "== $preset"
    cmake --preset "$preset" -DTINTMARK_WERROR=$werror >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
    if [ "$preset" = win32 ]; then
        dll=build/win32/src/plugin/tintmark.dll
        echo "== win32: the tests load the shipped $dll ($(grep -E '^CMAKE_BUILD_TYPE' build/win32/CMakeCache.txt | cut -d= -f2)," \
             "sha256 $(sha256sum "$dll" | cut -c1-16))"
    fi
    log=$(mktemp)
    ctest --preset "$preset" 2>&1 | tee "$log"
    line=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
    if [ -z "$line" ]; then echo "no test summary from $preset" >&2; bad=1; total=1; fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    rm -f "$log"
done
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
