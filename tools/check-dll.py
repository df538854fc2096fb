#!/usr/bin/python3
"""Checks the shipped 32-bit plugin DLL without running it: PE32 for i386, a DLL,
exactly the four COM server exports, only system DLLs imported, the type library resource
present, and the version of the tree's VERSION file in its version resource and (as
major.minor) in its type library.

With --package ZIP it also checks the release package: its name carries the version, it holds
exactly the shipped files, its tintmark.dll is this DLL byte for byte, and its guide names the
version.

    tools/check-dll.py DLL [--package ZIP]
"""
import argparse
import os
import re
import struct
import sys
import zipfile

import pefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE_FILES = {"tintmark.dll", "tintmark-settings.vbs", "tintmark-commands.vbs", "tintmark-guide.html",
                 "INSTALL.txt"}

EXPORTS = {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ole32.dll",
               "oleaut32.dll", "msvcrt.dll", "shell32.dll", "comctl32.dll", "uxtheme.dll"}


def tree_version():
    with open(os.path.join(ROOT, "VERSION"), encoding="ascii") as f:
        return f.readline().strip()


def resource_versions(pe):
    """The fixed file version (a.b.c.d) and the FileVersion and ProductVersion strings."""
    fixed = None
    if getattr(pe, "VS_FIXEDFILEINFO", None):
        ffi = pe.VS_FIXEDFILEINFO[0]
        fixed = "%d.%d.%d.%d" % (ffi.FileVersionMS >> 16, ffi.FileVersionMS & 0xFFFF,
                                 ffi.FileVersionLS >> 16, ffi.FileVersionLS & 0xFFFF)
    strings = {}
    for info in getattr(pe, "FileInfo", []) or []:
        for entry in info if isinstance(info, list) else [info]:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    return fixed, strings


def typelib_version(pe):
    """The major.minor of TYPELIB resource 1 (an MSFT type library: version at offset 0x18)."""
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in resources.entries if resources else []:
        if entry.name is None or str(entry.name) != "TYPELIB":
            continue
        for e in entry.directory.entries:
            if e.id != 1:
                continue
            data_entry = e.directory.entries[0].data.struct
            data = pe.get_data(data_entry.OffsetToData, data_entry.Size)
            if data[:4] != b"MSFT":
                return None
            major, minor = struct.unpack_from("<HH", data, 0x18)
            return "%d.%d" % (major, minor)
    return None


def check_versions(pe, version):
    problems = []
    fixed, strings = resource_versions(pe)
    if fixed != version + ".0":
        problems.append("fixed file version is %s, VERSION says %s" % (fixed, version))
    for key in ("FileVersion", "ProductVersion"):
        if strings.get(key) != version:
            problems.append("%s is %r, VERSION says %s" % (key, strings.get(key), version))
    tlb = typelib_version(pe)
    if tlb != ".".join(version.split(".")[:2]):
        problems.append("type library version is %s, VERSION says %s" % (tlb, version))
    return problems


def check_package(dll_path, zip_path, version):
    problems = []
    if os.path.basename(zip_path) != "tintmark-%s.zip" % version:
        problems.append("package name %s does not carry the version %s" % (os.path.basename(zip_path), version))
    with zipfile.ZipFile(zip_path) as z:
        names = set(z.namelist())
        if names != PACKAGE_FILES:
            problems.append("package holds %s, expected %s" % (sorted(names), sorted(PACKAGE_FILES)))
        with open(dll_path, "rb") as f:
            if "tintmark.dll" in names and z.read("tintmark.dll") != f.read():
                problems.append("the package's tintmark.dll is not %s" % dll_path)
        if "tintmark-guide.html" in names:
            guide = z.read("tintmark-guide.html").decode("utf-8", "replace")
            if not re.search(r"Tintmark %s\b" % re.escape(version), guide):
                problems.append("the guide does not name version %s" % version)
    return problems


def main(path, package=None):
    pe = pefile.PE(path)
    problems = []
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        problems.append("machine is not i386")
    if pe.OPTIONAL_HEADER.Magic != 0x10B:
        problems.append("not PE32")
    if not pe.FILE_HEADER.Characteristics & 0x2000:
        problems.append("not a DLL")
    exports = {e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols if e.name}
    if exports != EXPORTS:
        problems.append("exports are %s" % sorted(exports))
    imports = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
    if imports - SYSTEM_DLLS:
        problems.append("imports non-system DLLs %s" % sorted(imports - SYSTEM_DLLS))
    typelib = False
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in resources.entries if resources else []:
        if entry.name is not None and str(entry.name) == "TYPELIB":
            typelib = any(e.id == 1 for e in entry.directory.entries)
    if not typelib:
        problems.append("no TYPELIB resource 1")
    version = tree_version()
    problems += check_versions(pe, version)
    if package:
        problems += check_package(path, package, version)
    for p in problems:
        print("check-dll: %s: %s" % (path, p))
    if not problems:
        print("check-dll: %s: PE32 i386 DLL, exports %s, imports %s, TYPELIB 1 present, version %s"
              % (path, ", ".join(sorted(exports)), ", ".join(sorted(imports)), version))
        if package:
            print("check-dll: %s: the files of the release, this DLL, version %s" % (package, version))
    return 1 if problems else 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("dll")
    parser.add_argument("--package", help="the release package zip to check against the DLL")
    args = parser.parse_args()
    sys.exit(main(args.dll, args.package))
