#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for
# a bounded time, starting from the small committed seed corpora. It fails only on a crash,
# a sanitizer report, a hang (an input running past the per-input timeout) or memory running
# out: each target bounds its own work so that a legitimate input ends far inside the timeout.
# A failing input is kept in build/fuzz/artifacts/ and printed in base64 for the log.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
timeout=25
artifacts=build/fuzz/artifacts
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p "$artifacts"
for target in regex analysis; do
    work=$(mktemp -d)
    log="$work.log"
    echo "== fuzzing $target for ${seconds}s"
    set +e
    build/fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=4096 \
        -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$work" "fuzz/corpus/$target" > "$log" 2>&1
    status=$?
    set -e
    grep -E '^(Done|stat::number_of_executed_units|==[0-9]+==|SUMMARY)' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        kind=crash
        grep -q 'libFuzzer: timeout' "$log" && kind="hang (an input ran longer than ${timeout}s)"
        grep -qE 'libFuzzer: (out-of-memory|malloc limit)' "$log" && kind="out of memory"
        grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$log" && kind="sanitizer report"
        input=$(grep -oE 'Test unit written to [^ ]+' "$log" | tail -n1 | cut -d' ' -f5 || true)
        echo "fuzzing $target failed: $kind" >&2
        if [ -n "$input" ] && [ -f "$input" ]; then
            echo "input $input (base64): $(base64 -w0 "$input")" >&2
        fi
        rm -rf "$work" "$log"
        exit 1
    fi
    rm -rf "$work" "$log"
done
