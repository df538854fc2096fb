#!/usr/bin/env bash
# The contract of `tmk regex`: output records, exit statuses, argument conversion.
#   tmk_regex_test.sh TMK [EMULATOR...]
set -uo pipefail
tmk=("$@" regex)  # every check runs the regex command
. "$(dirname "$0")/check.sh"

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
# Former faults: a back-reference to its own group while the group is entered again crashed
# or moved backwards; an empty pass of a loop recursed to error 1016; so did a loop over a
# group on a line of a few hundred characters.
for pattern in '(x(a|\2{9999999})){2}' '(x(a|\2{99}))+' '(x(a|\2)){2}'; do
    check "self-reference $pattern" 0 "match${TAB}0${TAB}3
group${TAB}1${TAB}2${TAB}3
group${TAB}2${TAB}3${TAB}3" "$pattern" 'xax'
done
check empty-pass 0 "match${TAB}0${TAB}0
group${TAB}1${TAB}0${TAB}0
group${TAB}2${TAB}0${TAB}0" '(a*)(\1)*' 'b'
check empty-pass-between 0 "match${TAB}0${TAB}2
group${TAB}1${TAB}0${TAB}0
group${TAB}2${TAB}1${TAB}1" '(a*)x(\1)*y' 'xy'
long=$(printf 'ab%.0s' $(seq 5000))
check long-line 0 "match${TAB}0${TAB}10000
group${TAB}1${TAB}9999${TAB}10000" '(a|b)*' "$long"
check no-subject 2 "" 'abc'
check bad-hex 2 "" --hex 'zz' '00'
check bad-mods 2 "" --modifiers 'q' 'a' 'a'

summary
