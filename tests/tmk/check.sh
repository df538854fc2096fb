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

summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
