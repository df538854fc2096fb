#!/usr/bin/python3
"""Checks the shipped 32-bit plugin DLL without running it: PE32 for i386, a DLL,
exactly the four COM server exports, only system DLLs imported, and the type library
resource present."""
import sys

import pefile

EXPORTS = {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ole32.dll",
               "oleaut32.dll", "msvcrt.dll", "shell32.dll", "comctl32.dll", "uxtheme.dll"}


def main(path):
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
    for p in problems:
        print("check-dll: %s: %s" % (path, p))
    if not problems:
        print("check-dll: %s: PE32 i386 DLL, exports %s, imports %s, TYPELIB 1 present"
              % (path, ", ".join(sorted(exports)), ", ".join(sorted(imports))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
