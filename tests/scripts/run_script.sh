#!/usr/bin/env bash
# Registers the plugin DLL in the build's Wine prefix, runs a script through the system's
# script host (cscript) and compares what it printed with the expected lines.
#   run_script.sh BUILD_DIR DLL SCRIPT EXPECTED
set -euo pipefail
build=$1 dll=$2 script=$3 expected=$4
here=$(cd "$(dirname "$0")/../.." && pwd)
run() { "$here/tools/wine-run.sh" "$build" "$@"; }
win() { echo "Z:${1//\//\\}"; }

run regsvr32 /s "$(win "$dll")"
trap 'run regsvr32 /s /u "$(win "$dll")" || true' EXIT
set +e
out=$(run cscript //nologo "$(win "$script")" 2>&1 | tr -d '\r')
rc=$?
set -e
echo "$out"
if [ $rc -ne 0 ]; then echo "cscript exited with $rc" >&2; exit 1; fi
if ! diff <(echo "$out") "$expected"; then echo "output differs from $expected" >&2; exit 1; fi
