#!/usr/bin/env bash
# Builds the plugin and the configurator simulator, registers the DLL under Wine and runs the
# simulator on the bundled sample module with the sample settings script. Shows the shipped
# 32-bit DLL under 32-bit Wine where the machine runs 32-bit programs, else the 64-bit build.
# Leaves the screenshots (PNG) and the log in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
if why=$(tools/can-run-32bit.sh) && [ -x /usr/lib/wine/wine ]; then
    preset=win32
    echo "== the shipped 32-bit DLL under 32-bit Wine"
else
    preset=win64
    echo "== the 64-bit DLL under 64-bit Wine: ${why:-32-bit Wine is not installed}"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target tintmark cfgsim
build=$PWD/build/$preset
out=$PWD/build/demo
rm -rf "$out"
mkdir -p "$out"
cp demo/demo.cfgsim demo/sample.txt "$out/"
mkdir -p "$out/shots" "$out/scripts"
cp scripts/tintmark-settings.vbs "$out/scripts/"
sed -i 's|\.\./scripts/|scripts/|' "$out/demo.cfgsim"
run() { tools/wine-run.sh "$build" "$@"; }
win() { echo "Z:${1//\//\\}"; }
dll=$build/src/plugin/tintmark.dll
{
    echo "== registering $dll"
    run regsvr32 /s "$(win "$dll")" && echo "registered"
    echo "== the plugin in the configurator simulator (demo/demo.cfgsim)"
    run "$build/sim/cfgsim.exe" --script "$(win "$out/demo.cfgsim")" --work "$(win "$out/work")" | tr -d '\r'
} 2>&1 | tee "$out/demo.log"
echo
echo "screenshots: $out/shots"
ls "$out/shots"
echo "log: $out/demo.log"
