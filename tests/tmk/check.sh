# Shared by the tmk contract tests: runs tmk (the array tmk) and compares status and output.
#   check NAME EXPECTED_STATUS EXPECTED_OUTPUT ARGS...
passed=0 failed=0
T=$'\t'
TAB=$T

check() {
    local name=$1 want_rc=$2 want=$3
    shift 3
    local out rc
    out=$("${tmk[@]}" "$@" 2>/dev/null | tr -d '\r')
    rc=${PIPESTATUS[0]}
    if [ "$rc" = "$want_rc" ] && [ "$out" = "$want" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s: status %s (want %s)\n--- got\n%s\n--- want\n%s\n' "$name" "$rc" "$want_rc" "$out" "$want"
    fi
}

# Like check, for the status and the number of lines written to stderr.
#   check_stderr NAME EXPECTED_STATUS EXPECTED_LINES ARGS...
check_stderr() {
    local name=$1 want_rc=$2 want_lines=$3
    shift 3
    local err rc lines
    err=$("${tmk[@]}" "$@" 2>&1 >/dev/null | tr -d '\r')
    rc=${PIPESTATUS[0]}
    lines=$(printf '%s' "$err" | grep -c '')
    if [ "$rc" = "$want_rc" ] && [ "$lines" = "$want_lines" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s: status %s (want %s), %s stderr lines (want %s)\n%s\n' "$name" "$rc" "$want_rc" \
            "$lines" "$want_lines" "$err"
    fi
}

summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
