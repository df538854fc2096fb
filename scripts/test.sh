#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the portable core natively, then the
# plugin and its tests as Windows programs under wine64.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh || exit 1
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
passed=0 failed=0
for preset in native win64; do
    cmake --preset "$preset" -DTINTMARK_WERROR=$werror >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
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
