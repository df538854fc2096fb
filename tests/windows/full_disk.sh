#!/usr/bin/env bash
# Runs the full-disk folding test with the work folder on a file system of one page, mounted
# for the run (root only; skipped with status 77 where no file system can be mounted).
#   full_disk.sh BUILD_DIR EDITOR_TESTS
set -euo pipefail
build=$(cd "$1" && pwd) tests=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
disk="$build/full-disk"
mkdir -p "$disk"
if ! mount -t tmpfs -o size=4k tmpfs "$disk" 2>/dev/null; then
    echo "full_disk: cannot mount a small file system here; skipped"
    exit 77
fi
trap 'umount "$disk" || umount -l "$disk"' EXIT
TINTMARK_FULL_DISK="Z:${disk//\//\\}\\" "$here/tools/wine-run.sh" "$build" "$tests" --gtest_filter='*FullDisk*'
