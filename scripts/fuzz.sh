#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for
# a bounded time, starting from the small committed seed corpora.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in regex analysis; do
    work=$(mktemp -d)
    echo "== fuzzing $target for ${seconds}s"
    set +e
    build/fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
        -print_final_stats=1 "$work" "fuzz/corpus/$target" > "$work.log" 2>&1
    status=$?
    set -e
    grep -E '^(Done|stat::number_of_executed_units|==[0-9]+==|SUMMARY)' "$work.log" || true
    [ "$status" -eq 0 ] || tail -n 40 "$work.log"
    rm -f "$work.log"
    rm -rf "$work"
    [ "$status" -eq 0 ] || { echo "fuzzing $target failed (crash input in $(pwd))" >&2; exit 1; }
done
