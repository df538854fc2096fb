#!/usr/bin/python3
"""Accepts a reviewed golden image: re-encodes NAME.new.png (written uncompressed by a
failing test) as a compressed NAME.png and removes the .new file.
    tools/accept-golden.py tests/windows/golden/NAME.new.png ..."""
import struct
import sys
import zlib


def chunks(data):
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def accept(path):
    data = open(path, "rb").read()
    ihdr = b"".join(b for k, b in chunks(data) if k == b"IHDR")
    raw = zlib.decompress(b"".join(b for k, b in chunks(data) if k == b"IDAT"))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    target = path[:-len(".new.png")] + ".png"
    open(target, "wb").write(out)
    print("%s -> %s (%d bytes)" % (path, target, len(out)))


if __name__ == "__main__":
    for p in sys.argv[1:]:
        accept(p)
        import os
        os.remove(p)
