#!/usr/bin/env bash
# Registers the plugin in the build's Wine prefix and runs a simulator script.
#   run_sim.sh BUILD_DIR DLL CFGSIM SCRIPT
set -euo pipefail
build=$1 dll=$2 sim=$3 script=$4
here=$(cd "$(dirname "$0")/../.." && pwd)
run() { "$here/tools/wine-run.sh" "$build" "$@"; }
win() { echo "Z:${1//\//\\}"; }
# Scripts on the shared corpus of real modules are skipped (ctest's code 77) where it is absent.
corpus=$(cd "$here/.." && pwd)/shared/corpus
if grep -q 'shared/corpus/' "$script" && [ ! -d "$corpus" ]; then
    echo "SKIPPED: $(basename "$script") runs on the module corpus, which is not at $corpus"
    exit 77
fi
work=$(mktemp -d)
run regsvr32 /s "$(win "$dll")"
trap 'run regsvr32 /s /u "$(win "$dll")" || true; rm -rf "$work"' EXIT
run "$sim" --hidden --script "$(win "$script")" --work "$(win "$work")" | tr -d '\r'
