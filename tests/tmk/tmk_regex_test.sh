#!/usr/bin/env bash
# The contract of `tmk regex`: output records, exit statuses, argument conversion.
#   tmk_regex_test.sh TMK [EMULATOR...]
set -uo pipefail
tmk=("$@")
passed=0 failed=0
TAB=$'\t'

check() {  # check NAME EXPECTED_STATUS EXPECTED_OUTPUT ARGS...
    local name=$1 want_rc=$2 want=$3
    shift 3
    local out rc
    out=$("${tmk[@]}" regex "$@" 2>/dev/null | tr -d '\r')
    rc=${PIPESTATUS[0]}
    if [ "$rc" = "$want_rc" ] && [ "$out" = "$want" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s: status %s (want %s)\n--- got\n%s\n--- want\n%s\n' "$name" "$rc" "$want_rc" "$out" "$want"
    fi
}

check match 0 "match${TAB}2${TAB}5" 'abc' 'xxABC'
check groups 0 "match${TAB}0${TAB}4
group${TAB}1${TAB}0${TAB}1
group${TAB}2${TAB}1${TAB}4
group${TAB}3${TAB}4${TAB}4" '(a|ab)(c|bcd)(d*)' 'abcd'
check nomatch 0 "nomatch" 'abc' 'xyz'
check modifiers 0 "nomatch" --modifiers '-i' 'abc' 'ABC'
check modifiers-on 0 "match${TAB}3${TAB}4" --modifiers 'm' '^b' $'a\r\nb'
check utf8 0 "match${TAB}0${TAB}14
group${TAB}1${TAB}0${TAB}9
group${TAB}2${TAB}0${TAB}9
group${TAB}4${TAB}10${TAB}14" '^\s*((процедура|procedure)|(функция|function))\s+([\wа-яА-Я]+)+' 'Процедура Тест()'
check hex 0 "match${TAB}1${TAB}2" --hex 'C0' '61E0'
check error 0 "error${TAB}113${TAB}TPattern(comp): unmatched [] (pos 4)" '[abc' 'x'
check no-subject 2 "" 'abc'
check bad-hex 2 "" --hex 'zz' '00'
check bad-mods 2 "" --modifiers 'q' 'a' 'a'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
