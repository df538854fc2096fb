#!/usr/bin/env bash
# Builds the plugin and shows it working under Wine: registers the 64-bit DLL, runs the
# sample settings script through the system's script host, and starts the plugin in a
# small host that prints the name it answers. Leaves a log in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tintmark plugin_host
build=$PWD/build/win64
out=$PWD/build/demo
mkdir -p "$out"
run() { tools/wine-run.sh "$build" "$@"; }
win() { echo "Z:${1//\//\\}"; }
dll=$build/src/core/tintmark.dll
{
    echo "== registering $dll"
    run regsvr32 /s "$(win "$dll")" && echo "registered"
    echo "== running scripts/tintmark-settings.vbs"
    run cscript //nologo "$(win "$PWD/scripts/tintmark-settings.vbs")" | tr -d '\r'
    echo "== starting the plugin in a small host"
    run "$build/tools/mini-host/plugin_host.exe" | tr -d '\r'
} 2>&1 | tee "$out/demo.log"
echo "log: $out/demo.log"
