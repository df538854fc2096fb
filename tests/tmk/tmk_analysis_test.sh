#!/usr/bin/env bash
# The contract of tmk scan, token, pair, jump, methods, header and check.
#   tmk_analysis_test.sh TMK [EMULATOR...]
set -uo pipefail
tmk=("$@")
. "$(dirname "$0")/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A module in UTF-8 (read with --utf8) and the same in Windows-1251 (read as is).
printf '%s\r\n' 'Процедура Тест() Далее' 'Процедура Б(А)' '	Если А(Б) Тогда // Если (' '		С = "Если (";' \
    '	КонецЕсли;' 'КонецПроцедуры' > "$work/m.txt"
iconv -f UTF-8 -t CP1251 "$work/m.txt" > "$work/m1251.txt"
: > "$work/empty.txt"
{ printf '\xEF\xBB\xBF'; cat "$work/m.txt"; } > "$work/bom.txt"
mkdir "$work/folder"
# In Wine the program sees the Unix file system as drive Z:.
f() { if [ ${#tmk[@]} -gt 1 ]; then echo "Z:${1//\//\\}"; else echo "$1"; fi; }


check scan-lines 0 "1${T}0${T}8${T}1${T}0${T}2${T}2${T}0${T}0${T}1${T}б
1${T}11${T}11${T}16${T}0${T}17${T}17${T}0${T}2${T}0${T}
1${T}13${T}13${T}17${T}1${T}16${T}16${T}0${T}3${T}0${T}" scan --utf8 --first 1 --count 1 "$(f "$work/m.txt")"
check scan-1251 0 "$("${tmk[@]}" scan --utf8 "$(f "$work/m.txt")" 2>/dev/null | tr -d '\r')" scan "$(f "$work/m1251.txt")"
check scan-empty 0 "" scan "$(f "$work/empty.txt")"
check token 0 "Если${T}Ес${T}ли" token 'Если А(Б) Тогда' 2
check token-bracket 0 "(${T}(${T}" token 'Если А(Б) Тогда' 7
check token-empty-text 2 "" token '' 0
check token-col 2 "" token 'abc' 4
check pair 0 "caret${T}4${T}1${T}9${T}6
partner${T}2${T}1${T}4${T}5" pair --utf8 "$(f "$work/m.txt")" 4 3
check pair-forward 0 "caret${T}0${T}0${T}8${T}1
partner${T}none" pair --utf8 "$(f "$work/m.txt")" 0 2
check pair-none 0 "none" pair --utf8 "$(f "$work/m.txt")" 3 5
check pair-always 0 "caret${T}4${T}1${T}9${T}6
partner${T}2${T}1${T}4${T}5" pair --utf8 --always "$(f "$work/m.txt")" 3 5
check jump 0 "caret${T}2${T}1" jump --utf8 --mode 1 "$(f "$work/m.txt")" 4 3
check select 0 "select${T}1${T}0${T}5${T}14" jump --utf8 --mode 2 "$(f "$work/m.txt")" 1 0
check inner 0 "select${T}2${T}8${T}2${T}9" jump --utf8 --mode 3 "$(f "$work/m.txt")" 2 8
check report 0 "partner${T}2${T}9" jump --utf8 --mode 4 "$(f "$work/m.txt")" 2 8
check jump-none 0 "none" jump --utf8 --mode 1 "$(f "$work/m.txt")" 0 2
check methods 0 "1${T}1${T}
2${T}5${T}" methods --utf8 "$(f "$work/m.txt")"
check methods-names 0 "1${T}1${T}б
2${T}5${T}" methods --utf8 --line-start "$(f "$work/m.txt")"
check header 0 "header${T}б${T}0" header --utf8 "$(f "$work/m.txt")" 1
check header-forward 0 "none" header --utf8 "$(f "$work/m.txt")" 0
check missing-file 2 "" scan "$(f "$work/nothing.txt")"
check_stderr missing-file-message 2 1 scan "$(f "$work/nothing.txt")"
check_stderr folder-as-file 2 1 scan "$(f "$work/folder")"

# --count: not given reads to the end; a negative count is clamped as the scanner clamps it
# (to line 0); ranges that reach past 32 bits are clamped, not wrapped.
whole=$("${tmk[@]}" scan --utf8 "$(f "$work/m.txt")" 2>/dev/null | tr -d '\r')
line0=$("${tmk[@]}" scan --utf8 --count 1 "$(f "$work/m.txt")" 2>/dev/null | tr -d '\r')
from1=$("${tmk[@]}" scan --utf8 --first 1 "$(f "$work/m.txt")" 2>/dev/null | tr -d '\r')
pair43=$("${tmk[@]}" pair --utf8 "$(f "$work/m.txt")" 4 3 2>/dev/null | tr -d '\r')
[ "$(grep -c '' <<<"$whole")" = 12 ] && [ "$(grep -c '' <<<"$line0")" = 4 ] ||
    { failed=$((failed + 1)); echo "FAIL count-setup: unexpected reference scans"; }
check count-not-given 0 "$whole" scan --utf8 --first 0 "$(f "$work/m.txt")"
check count-negative 0 "$line0" scan --utf8 --first 0 --count -1 "$(f "$work/m.txt")"
check count-past-32-bits 0 "$from1" scan --utf8 --first 1 --count 2147483647 "$(f "$work/m.txt")"
check visible-past-32-bits 0 "$pair43" pair --utf8 --visible 2147483647 "$(f "$work/m.txt")" 4 3
check visible-past-32-bits-from-1 0 "$pair43" pair --utf8 --first 1 --visible 2147483647 "$(f "$work/m.txt")" 4 3
check utf8-bom-dropped 0 "$whole" scan --utf8 "$(f "$work/bom.txt")"
# English spellings, middle words and mismatches: a mixed module.
printf '%s\r\n' 'Procedure А()' '	If Б Then' '		Пока В Цикл EndDo;' '	ИначеЕсли Г Тогда' '	Else' '	EndIf;' \
    '	КонецЦикла;' 'EndProcedure' > "$work/mixed.txt"
check english-off 0 "6${T}1${T}10${T}9${T}1${T}7${T}8${T}0${T}0${T}0${T}" scan --utf8 --first 6 --count 1 "$(f "$work/mixed.txt")"
check english-scan 0 "0${T}0${T}8${T}1${T}0${T}2${T}2${T}0${T}0${T}1${T}а
0${T}11${T}11${T}16${T}0${T}17${T}17${T}0${T}2${T}0${T}
0${T}12${T}12${T}17${T}1${T}16${T}16${T}0${T}2${T}0${T}" scan --utf8 --english --count 1 "$(f "$work/mixed.txt")"
check middle-pair 0 "caret${T}3${T}1${T}9${T}13
partner${T}1${T}1${T}2${T}5
partner${T}4${T}1${T}4${T}14
partner${T}5${T}1${T}5${T}6" pair --utf8 --english --middle "$(f "$work/mixed.txt")" 3 3
check middle-off-pair 0 "none" pair --utf8 --english "$(f "$work/mixed.txt")" 3 3
check middle-jump 0 "caret${T}4${T}1" jump --utf8 --english --middle --mode 1 "$(f "$work/mixed.txt")" 3 3
check middle-jump-back 0 "caret${T}1${T}1" jump --utf8 --english --middle --mode 1 "$(f "$work/mixed.txt")" 5 2
check check-english 0 "mismatch${T}6${T}1${T}10
total${T}1" check --utf8 --english "$(f "$work/mixed.txt")"
check check-russian-only 0 "mismatch${T}3${T}1${T}9
total${T}1" check --utf8 "$(f "$work/mixed.txt")"
check check-clean 0 "total${T}0" check --utf8 "$(f "$work/m.txt")"
check bad-mode 2 "" jump --mode 7 "$(f "$work/m.txt")" 0 0
check bad-number 2 "" pair "$(f "$work/m.txt")" x 0

summary
