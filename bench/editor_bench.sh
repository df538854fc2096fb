#!/usr/bin/env bash
# Editor benchmarks in the simulator under Wine: prints the simulator's measure lines.
#   bench/editor_bench.sh [PRESET | BUILD_DIR]
# PRESET is win64 (the default) or win32 (the shipped 32-bit DLL, under 32-bit Wine); a
# BUILD_DIR is any configured Windows build folder, e.g. one of another build type.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset native >/dev/null && cmake --build --preset native --target make_module >/dev/null
what=${1:-win64}
if [ -d "$what" ]; then
    build=$(cd "$what" && pwd)
    cmake --build "$build" --target tintmark cfgsim >/dev/null
else
    cmake --preset "$what" >/dev/null && cmake --build --preset "$what" --target tintmark cfgsim >/dev/null
    build=$PWD/build/$what
fi
echo "build: $build ($(cat "$build/wine-arch"), $(grep -E '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" | cut -d= -f2))"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
largest=$(ls -S ../shared/corpus/1c77/*.txt | sed -n 1p)
cp "$largest" "$work/largest.txt"
build/native/bench/make_module 30000 > "$work/generated.txt"
{
    printf 'Процедура Длинная()\r\n'
    for i in $(seq 29998); do printf '\tА = А + 1;\r\n'; done
    printf 'КонецПроцедуры\r\n'
} | iconv -f utf-8 -t cp1251 > "$work/long-procedure.txt"
cp bench/editor_bench.cfgsim scripts/tintmark-settings.vbs "$work/"
win() { echo "Z:${1//\//\\}"; }
tools/wine-run.sh "$build" regsvr32 /s "$(win "$build/src/plugin/tintmark.dll")"
echo "largest corpus module: $(basename "$largest")"
tools/wine-run.sh "$build" "$build/sim/cfgsim.exe" --hidden --script "$(win "$work/editor_bench.cfgsim")" \
    --work "$(win "$work/w")" | tr -d '\r' | grep -E "^(measure|note)|failed|^Z:"
