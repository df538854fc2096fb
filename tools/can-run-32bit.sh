#!/usr/bin/env bash
# Tells whether this machine runs 32-bit x86 programs: writes a 96-byte static i386 ELF that
# only exits with status 42, and runs it. Needs no compiler. Exit 0 when it can, else 1 with
# the reason on standard output.
set -u
f=$(mktemp) || exit 1
trap 'rm -f "$f"' EXIT
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$f"
chmod +x "$f"
case "$(uname -m)" in
    x86_64|i?86) ;;
    *) echo "the processor is $(uname -m), not x86"; exit 1 ;;
esac
out=$("$f" 2>&1)
rc=$?
if [ $rc -eq 42 ]; then
    exit 0
fi
echo "a 32-bit test program did not run (exit status $rc${out:+: $out}); the kernel may lack 32-bit support"
exit 1
