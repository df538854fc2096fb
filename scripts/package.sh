#!/usr/bin/env bash
# Builds the shipped 32-bit DLL (the win32 build, which the 32-bit suite tests) and writes the
# release package OUT_DIR/tintmark-<version>.zip (default build/dist): tintmark.dll, the
# settings and commands scripts, the user guide as one HTML file with its pictures inside, and
# INSTALL.txt. The same commit gives the same bytes.
#   scripts/package.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh
out=$(mkdir -p "${1:-build/dist}" && cd "${1:-build/dist}" && pwd)
version=$(head -n1 VERSION)
build=build/win32
[ -f "$build/CMakeCache.txt" ] || cmake --preset win32 >/dev/null
cmake --build "$build" --target tintmark >/dev/null
dll=$build/src/plugin/tintmark.dll
# One time stamp for every file: the last commit's, so that the same commit gives the same zip.
epoch=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$dll" scripts/tintmark-settings.vbs scripts/tintmark-commands.vbs "$stage/"
# The guide: installing and the commands, then what the editor shows and how folding works.
pandoc --from gfm --to html5 --standalone --self-contained --toc --toc-depth 2 \
    --resource-path docs --lua-filter tools/package/links.lua \
    --metadata title="Tintmark $version" --metadata pagetitle="Tintmark $version — user guide" \
    --metadata lang=en \
    -o "$stage/tintmark-guide.html" docs/install.md docs/editor.md docs/folding.md
# The install, upgrade and removal steps as plain text with Windows line ends (and a byte
# order mark, so that Notepad reads the Cyrillic macro names as UTF-8).
{
    printf '\xEF\xBB\xBFTintmark %s\n\n' "$version"
    pandoc --from gfm --to plain --columns 90 --lua-filter tools/package/links.lua docs/install.md
} | sed 's/$/\r/' > "$stage/INSTALL.txt"
zip=$out/tintmark-$version.zip
rm -f "$zip"
/usr/bin/python3 tools/package/zip.py "$zip" "$epoch" "$stage"/*
/usr/bin/python3 tools/check-dll.py "$dll" --package "$zip"
echo "package: $zip ($(stat -c %s "$zip") bytes, sha256 $(sha256sum "$zip" | cut -c1-16))"
