#!/usr/bin/env python3
"""pe_check.py EXE: Vantle.exe is what Windows users get: a 64-bit GUI program that imports
only the system's own DLLs (the C++ runtime linked in), carries the icon, the manifest and
the version resource in Chinese (Simplified), and stays under 6 MB."""
import os
import sys

import pefile

# What Windows itself has; everything else would have to ship beside the program.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll",
    "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll", "psapi.dll",
    "sapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "userenv.dll",
    "uxtheme.dll", "version.dll", "windowscodecs.dll", "winmm.dll", "ws2_32.dll", "bcrypt.dll",
    "dwmapi.dll", "uiautomationcore.dll", "crypt32.dll", "ntdll.dll"}
WANTED_STRINGS = {
    "ProductName": "Vantle", "InternalName": "Vantle", "OriginalFilename": "Vantle.exe",
    "FileVersion": "3.6.0.0", "ProductVersion": "3.6.0.0",
    "CompanyName": "The Vantle developers"}
MAX_SIZE = 6 * 1024 * 1024


def faults(path):
    pe = pefile.PE(path)
    found = []
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        found.append("not an x86-64 program")
    if pe.OPTIONAL_HEADER.Magic != pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS:
        found.append("not PE32+")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        found.append("not a GUI program (subsystem %d)" % pe.OPTIONAL_HEADER.Subsystem)
    imports = {e.dll.decode().lower() for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    for dll in sorted(imports - SYSTEM_DLLS):
        if not dll.startswith("api-ms-win-"):
            found.append("imports " + dll)
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    resources = {e.id for e in directory.entries} if directory else set()
    for kind, name in ((14, "icon"), (16, "version"), (24, "manifest")):
        if kind not in resources:
            found.append("no %s resource" % name)
    infos = pe.FileInfo[0] if getattr(pe, "FileInfo", None) else []
    tables = [st for fi in infos if fi.Key == b"StringFileInfo" for st in fi.StringTable]
    if [t.LangID for t in tables] != [b"080404b0"]:
        found.append("version strings not in 0804/1200 alone: %s" % [t.LangID for t in tables])
    strings = {k.decode(): v.decode() for t in tables for k, v in t.entries.items()}
    for key, value in WANTED_STRINGS.items():
        if strings.get(key) != value:
            found.append("%s is %r, not %r" % (key, strings.get(key), value))
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    if not fixed or (fixed.FileVersionMS, fixed.FileVersionLS) != (0x30006, 0):
        found.append("FILEVERSION is not 3,6,0,0")
    if not fixed or (fixed.ProductVersionMS, fixed.ProductVersionLS) != (0x30006, 0):
        found.append("PRODUCTVERSION is not 3,6,0,0")
    if os.path.getsize(path) >= MAX_SIZE:
        found.append("%d bytes, not under 6 MB" % os.path.getsize(path))
    return found


if __name__ == "__main__":
    found = faults(sys.argv[1])
    for fault in found:
        print("%s: %s" % (sys.argv[1], fault))
    sys.exit(1 if found else 0)
