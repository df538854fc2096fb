#!/usr/bin/env bash
# Registers the plugin DLL (and any further COM servers the script uses) in the build's Wine
# prefix, runs a script through the system's script host (cscript) and compares what it
# printed with the expected lines.
#   run_script.sh BUILD_DIR DLL SCRIPT EXPECTED [DLL...]
set -euo pipefail
build=$1 dll=$2 script=$3 expected=$4
shift 4
dlls=("$dll" "$@")
here=$(cd "$(dirname "$0")/../.." && pwd)
run() { "$here/tools/wine-run.sh" "$build" "$@"; }
win() { echo "Z:${1//\//\\}"; }

unregister() { for d in "${dlls[@]}"; do run regsvr32 /s /u "$(win "$d")" || true; done; }
trap unregister EXIT
for d in "${dlls[@]}"; do run regsvr32 /s "$(win "$d")"; done
set +e
out=$(run cscript //nologo "$(win "$script")" 2>&1 | tr -d '\r')
rc=$?
set -e
echo "$out"
if [ $rc -ne 0 ]; then echo "cscript exited with $rc" >&2; exit 1; fi
if ! diff <(echo "$out") "$expected"; then echo "output differs from $expected" >&2; exit 1; fi
