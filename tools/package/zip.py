#!/usr/bin/python3
"""Writes a zip with the given files at its root, byte-identical for identical inputs: names
in sorted order, one fixed time stamp, fixed permissions, no extra fields.

    zip.py OUT.zip EPOCH FILE...
"""
import os
import sys
import time
import zipfile


def main(out, epoch, files):
    stamp = time.gmtime(max(int(epoch), 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for path in sorted(files, key=os.path.basename):
            info = zipfile.ZipInfo(os.path.basename(path), date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            info.create_system = 0
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
